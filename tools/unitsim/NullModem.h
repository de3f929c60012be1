#pragma once
// Two pseudo-terminals wired to each other like a null-modem cable: what one program writes to
// end A, a second program reads from end B, and back. Lets an outside serial server (such as
// a Modbus server written in Python) face our master.

#include <atomic>
#include <string>
#include <thread>

#include "Pty.h"

namespace kvlink::sim {

class NullModem {
 public:
  NullModem() = default;
  ~NullModem() { close(); }
  NullModem(const NullModem&) = delete;
  NullModem& operator=(const NullModem&) = delete;

  bool open();
  void close();
  std::string endA() const { return a_.slavePath(); }
  std::string endB() const { return b_.slavePath(); }

 private:
  void pump();

  Pty a_;
  Pty b_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
};

}  // namespace kvlink::sim
