#pragma once
// A pseudo-terminal pair: the simulator serves the master side, the program under test opens
// the slave device. The simulator keeps a descriptor of the slave side itself, so that the
// master never sees a hang-up while the program has the port closed.

#include <string>

namespace kvlink::sim {

class Pty {
 public:
  Pty() = default;
  ~Pty() { close(); }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  bool open();
  void close();
  bool isOpen() const { return master_ >= 0; }
  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

// Points the symbolic link `link` at `target`, replacing what was there.
bool pointLink(const std::string& link, const std::string& target);

}  // namespace kvlink::sim
