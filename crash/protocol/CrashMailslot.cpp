#include "crash/protocol/CrashMailslot.h"

#include "platform/base/UniqueFd.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace rasp {

std::string CrashMailslotPath(const std::string& name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = runtime && *runtime ? std::string(runtime) + "/mailslot"
                                           : "/tmp/mailslot-" + std::to_string(::getuid());
  std::string path = folder + "/" + name;
  if (name.empty() || name.find('/') != std::string::npos || path.size() >= sizeof(sockaddr_un::sun_path))
    return {};
  return path;
}

std::string CrashSourcePositionMessage(const std::string& unit, uint32_t line) {
  std::string m(CrashSourcePositionSize, '\0');
  std::memcpy(m.data(), unit.data(), std::min<size_t>(unit.size(), 2047));
  for (int i = 0; i < 4; ++i)
    m[2048 + size_t(i)] = char((line >> (8 * i)) & 0xFF);
  return m;
}

bool CrashMailslotSend(const std::string& name, const std::string& message) {
  std::string path = CrashMailslotPath(name);
  if (path.empty())
    return false;
  TUniqueFd fd(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!fd)
    return false;
  sockaddr_un to{};
  to.sun_family = AF_UNIX;
  std::memcpy(to.sun_path, path.c_str(), path.size() + 1);
  ssize_t n = ::sendto(fd.Get(), message.data(), message.size(), MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&to),
                       sizeof to);
  return n == ssize_t(message.size());
}

} // namespace rasp
