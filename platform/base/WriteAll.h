#pragma once
// Writes a whole buffer to a descriptor, going on after short writes and
// interrupted calls. False when the descriptor refuses (errno says why).
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace rasp {

inline bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

} // namespace rasp
