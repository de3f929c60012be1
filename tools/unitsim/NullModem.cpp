#include "NullModem.h"

#include <poll.h>
#include <unistd.h>

#include <array>

namespace kvlink::sim {

bool NullModem::open() {
  close();
  if (!a_.open() || !b_.open()) {
    close();
    return false;
  }
  stopping_ = false;
  thread_ = std::thread([this] { pump(); });
  return true;
}

void NullModem::close() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  a_.close();
  b_.close();
}

void NullModem::pump() {
  std::array<uint8_t, 512> buffer{};
  while (!stopping_) {
    std::array<pollfd, 2> fds{{{a_.master(), POLLIN, 0}, {b_.master(), POLLIN, 0}}};
    if (poll(fds.data(), fds.size(), 20) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if ((fds[i].revents & POLLIN) == 0) continue;
      const ssize_t n = ::read(fds[i].fd, buffer.data(), buffer.size());
      if (n <= 0) continue;
      const int to = i == 0 ? b_.master() : a_.master();
      ssize_t done = 0;
      for (int tries = 0; done < n && tries < 100; ++tries) {
        const ssize_t w = ::write(to, buffer.data() + done, size_t(n - done));
        if (w > 0)
          done += w;
        else
          poll(nullptr, 0, 1);
      }
    }
  }
}

}  // namespace kvlink::sim
