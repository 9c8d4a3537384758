#pragma once
// Owns one file descriptor and closes it when it goes out of scope: the one
// guard for descriptors in the tree. Plain POSIX and no allocation, so that
// code that must not use the toolkit (the crash reporter) can use it too.
#include <unistd.h>

#include <utility>

namespace rasp {

class TUniqueFd {
public:
  TUniqueFd() noexcept = default;
  explicit TUniqueFd(int fd) noexcept : FFd(fd) {}
  ~TUniqueFd() { Reset(); }
  TUniqueFd(TUniqueFd&& other) noexcept : FFd(other.Release()) {}
  TUniqueFd& operator=(TUniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  TUniqueFd(const TUniqueFd&) = delete;
  TUniqueFd& operator=(const TUniqueFd&) = delete;

  int Get() const noexcept { return FFd; }
  bool Valid() const noexcept { return FFd >= 0; }
  explicit operator bool() const noexcept { return Valid(); }
  // Gives the descriptor up without closing it.
  int Release() noexcept { return std::exchange(FFd, -1); }
  // Closes the descriptor held, if any, and takes `fd`; returns what close
  // returned (0 when nothing was held), so a caller that must know whether
  // written data reached the file can ask.
  int Reset(int fd = -1) noexcept {
    int old = std::exchange(FFd, fd);
    return old >= 0 ? ::close(old) : 0;
  }

private:
  int FFd = -1;
};

} // namespace rasp
