// Independent Modbus peers: mbpoll and pymodbus read and write the simulator's stations, and
// our master reads and writes a pymodbus serial server. Skipped only when a tool is missing.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "NullModem.h"
#include "TestLine.h"
#include "link/LinkErrors.h"

extern char** environ;

namespace kvlink::test {
namespace {

using sim::Protocol;

// Runs a shell command and returns its standard output; `status` gets the exit status.
std::string run(const std::string& command, int& status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return out;
  }
  std::array<char, 512> chunk{};
  while (fgets(chunk.data(), chunk.size(), pipe) != nullptr) out += chunk.data();
  const int rc = pclose(pipe);
  status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

bool haveProgram(const std::string& name) {
  int status = 0;
  run("command -v " + name + " >/dev/null 2>&1", status);
  return status == 0;
}

// A Python that has pymodbus (the Debian one may not be the first python3 on PATH).
std::string pythonWithPymodbus() {
  for (const char* candidate : {"/usr/bin/python3", "python3"}) {
    int status = 0;
    run(std::string(candidate) + " -c 'import pymodbus, serial' >/dev/null 2>&1", status);
    if (status == 0) return candidate;
  }
  return {};
}

std::vector<int> numbersAfterBrackets(const std::string& text) {
  // mbpoll prints "[24]: \t96" per register.
  std::vector<int> values;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const auto close = line.find("]:");
    if (line.rfind("[", 0) == 0 && close != std::string::npos) {
      values.push_back(std::stoi(line.substr(close + 2)));
    }
  }
  return values;
}

std::vector<int> ints(const std::vector<uint16_t>& words) {
  return {words.begin(), words.end()};
}

std::string mbpoll(const std::string& device, const std::string& options,
                   const std::string& values = "") {
  int status = 0;
  const std::string out = run("timeout 10 mbpoll -m rtu -b 9600 -P none -d 8 -s 1 -0 -1 -o 1 " +
                                  options + " " + device + " " + values + " 2>&1",
                              status);
  EXPECT_EQ(status, 0) << out;
  return out;
}

TEST(Interop, MbpollReadsAndWritesTheSimulator) {
  if (!haveProgram("mbpoll")) GTEST_SKIP() << "mbpoll is not installed";
  TestLine line(Protocol::Modbus);
  ASSERT_TRUE(line.started());
  const std::string device = line.sim().devicePath();
  const auto values = numbersAfterBrackets(mbpoll(device, "-a 2 -r 24 -c 19"));
  EXPECT_EQ(values, ints(line.sim().regs(2, 24, 19)));
  mbpoll(device, "-a 3 -r 12", "1234");
  EXPECT_EQ(line.sim().reg(3, 12), 1234);
  mbpoll(device, "-a 4 -r 14", "11 12 13");  // several registers: function 16
  EXPECT_EQ(line.sim().regs(4, 14, 3), (std::vector<uint16_t>{11, 12, 13}));
}

TEST(Interop, PymodbusClientReadsAndWritesTheSimulator) {
  const std::string python = pythonWithPymodbus();
  if (python.empty()) GTEST_SKIP() << "python3-pymodbus is not installed";
  TestLine line(Protocol::Modbus);
  ASSERT_TRUE(line.started());
  const std::string script =
      "import sys\n"
      "from pymodbus.client import ModbusSerialClient\n"
      "c = ModbusSerialClient(port=sys.argv[1], baudrate=9600, parity='N', stopbits=1, "
      "bytesize=8, timeout=1)\n"
      "assert c.connect()\n"
      "r = c.read_holding_registers(24, 19, slave=4)\n"
      "assert not r.isError(), r\n"
      "print(' '.join(str(v) for v in r.registers))\n"
      "w = c.write_register(12, 4321, slave=1)\n"
      "assert not w.isError(), w\n"
      "e = c.read_holding_registers(7000, 2, slave=1)\n"
      "print('exception', e.exception_code if e.isError() else 'none')\n"
      "c.close()\n";
  const std::string path = uniqueLinkPath() + ".py";
  std::ofstream(path) << script;
  int status = 0;
  const std::string out =
      run("timeout 30 " + python + " " + path + " " + line.sim().devicePath() + " 2>&1", status);
  std::remove(path.c_str());
  ASSERT_EQ(status, 0) << out;
  std::istringstream in(out);
  std::vector<int> values(19);
  for (int& v : values) in >> v;
  EXPECT_EQ(values, ints(line.sim().regs(4, 24, 19)));
  EXPECT_EQ(line.sim().reg(1, 12), 4321);
  EXPECT_NE(out.find("exception 2"), std::string::npos) << out;
}

// A pymodbus serial server on one end of a null modem, run as a child process.
class PymodbusServer {
 public:
  PymodbusServer(const std::string& python, const std::string& device, int station) {
    script_ = uniqueLinkPath() + ".py";
    std::ofstream(script_)
        << "import sys, logging\n"
           "from pymodbus.server import StartSerialServer\n"
           "from pymodbus.datastore import ModbusSequentialDataBlock, ModbusSlaveContext, "
           "ModbusServerContext\n"
           "from pymodbus.transaction import ModbusRtuFramer\n"
           "logging.disable(logging.CRITICAL)\n"
           "block = ModbusSequentialDataBlock(0, [i * 3 + 1 for i in range(200)])\n"
           "store = ModbusSlaveContext(hr=block, zero_mode=True)\n"
           "context = ModbusServerContext(slaves={int(sys.argv[2]): store}, single=False)\n"
           "StartSerialServer(context=context, framer=ModbusRtuFramer, port=sys.argv[1], "
           "baudrate=9600, bytesize=8, parity='N', stopbits=1)\n";
    const std::string stationText = std::to_string(station);
    std::vector<char*> argv{const_cast<char*>(python.c_str()), const_cast<char*>(script_.c_str()),
                            const_cast<char*>(device.c_str()),
                            const_cast<char*>(stationText.c_str()), nullptr};
    if (posix_spawnp(&pid_, python.c_str(), nullptr, nullptr, argv.data(), environ) != 0) pid_ = 0;
  }
  ~PymodbusServer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::remove(script_.c_str());
  }
  bool started() const { return pid_ > 0; }

 private:
  pid_t pid_ = 0;
  std::string script_;
};

TEST(Interop, OurMasterReadsAndWritesAPymodbusServer) {
  const std::string python = pythonWithPymodbus();
  if (python.empty()) GTEST_SKIP() << "python3-pymodbus is not installed";
  sim::NullModem cable;
  ASSERT_TRUE(cable.open());
  PymodbusServer server(python, cable.endB(), 7);
  ASSERT_TRUE(server.started());
  SerialLinkLibrary link([&](int) { return cable.endA(); });
  LinkTiming timing;
  timing.turnaround = 150ms;  // the Python server is slower to answer than a relay
  link.setTiming(timing);
  ASSERT_EQ(link.CommOpen(1, 96), kLinkOk);
  ASSERT_EQ(link.SetRetry(0), kLinkOk);
  std::array<uint16_t, kReadBufferWords> buffer{};
  // Wait for the server to come up.
  int code = kNoAnswer;
  for (int i = 0; i < 100 && code != kLinkOk; ++i) {
    code = link.rvx_ReadInfo(buffer.data(), kReadBufferWords, 1, 7, 24, 19);
  }
  ASSERT_EQ(code, kLinkOk);
  for (int i = 0; i < 19; ++i) EXPECT_EQ(buffer[i], (24 + i) * 3 + 1) << i;
  EXPECT_EQ(link.WriteInfo(1, 7, 10, 54321), kLinkOk);
  ASSERT_EQ(link.rvx_ReadInfo(buffer.data(), kReadBufferWords, 1, 7, 9, 3), kLinkOk);
  EXPECT_EQ(buffer[0], 28);
  EXPECT_EQ(buffer[1], 54321);
  EXPECT_EQ(buffer[2], 34);
  // Another station stays silent; an address beyond the server's block is an exception 02.
  EXPECT_EQ(link.rvx_ReadInfo(buffer.data(), kReadBufferWords, 1, 8, 0, 1), kNoAnswer);
  EXPECT_EQ(link.rvx_ReadInfo(buffer.data(), kReadBufferWords, 1, 7, 500, 2), kInvalidValue);
}

}  // namespace
}  // namespace kvlink::test
