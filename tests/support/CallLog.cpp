#include "CallLog.h"

#include <sstream>

#include "MemoryLine.h"

namespace kvlink::test {
namespace {

std::string callText(const char* name, std::initializer_list<long> args) {
  std::string text = name;
  for (long arg : args) text += " " + std::to_string(arg);
  return text;
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::string readCall(bool modbus, int port, int station, int address, int count) {
  return callText(modbus ? "read" : "abread", {port, station, address, count});
}

std::string writeCall(bool modbus, int port, int station, int address, int32_t value) {
  return callText(modbus ? "write" : "abwrite", {port, station, address, value});
}

std::string registerReadCall(bool modbus, int port, int station, int reg, int words) {
  return modbus ? readCall(true, port, station, reg, words)
                : readCall(false, port, station, 256 + 2 * reg, 2 * words);
}

std::string registerWriteCall(bool modbus, int port, int station, int reg, int32_t value) {
  return writeCall(modbus, port, station, modbus ? reg : 256 + 2 * reg, value);
}

int CallLog::count(const std::string& prefix) const {
  return static_cast<int>(startingWith(prefix).size());
}

std::vector<std::string> CallLog::startingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls)
    if (startsWith(call, prefix)) found.push_back(call);
  return found;
}

std::vector<std::string> CallLog::reads() const {
  std::vector<std::string> found;
  for (const std::string& call : calls)
    if (startsWith(call, "read ") || startsWith(call, "abread ")) found.push_back(call);
  return found;
}

std::vector<std::string> CallLog::writes() const {
  std::vector<std::string> found;
  for (const std::string& call : calls)
    if (startsWith(call, "write ") || startsWith(call, "abwrite ")) found.push_back(call);
  return found;
}

std::vector<int> CallLog::writtenRegisters() const {
  std::vector<int> found;
  for (const std::string& call : writes()) {
    std::istringstream fields(call);
    std::string name;
    int port = 0, station = 0, address = 0;
    fields >> name >> port >> station >> address;
    found.push_back(unitRegister(name == "write", address, 1));
  }
  return found;
}

std::vector<std::string> CallLog::take() {
  std::vector<std::string> taken = std::move(calls);
  calls.clear();
  return taken;
}

void CallLog::record(const char* name, std::initializer_list<long> args) {
  calls.push_back(callText(name, args));
}

}  // namespace kvlink::test
