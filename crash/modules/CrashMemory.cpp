#include "crash/modules/CrashMemory.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>

namespace rasp {

TCrashMemoryProbe::TCrashMemoryProbe(TMethod method) : FMethod(method) {
  if (FMethod == pmAuto) {
    // Some sandboxes forbid process_vm_readv even on oneself.
    uint64_t probe = 0, here = 1;
    FMethod = ReadVm(reinterpret_cast<uintptr_t>(&here), &probe, sizeof probe) && probe == 1 ? pmVmRead : pmPipe;
  }
  if (FMethod == pmPipe && pipe2(FPipe, O_CLOEXEC | O_NONBLOCK) != 0) FPipe[0] = FPipe[1] = -1;
}

TCrashMemoryProbe::~TCrashMemoryProbe() {
  if (FPipe[0] >= 0) close(FPipe[0]);
  if (FPipe[1] >= 0) close(FPipe[1]);
}

bool TCrashMemoryProbe::ReadVm(uintptr_t address, void* out, size_t size) {
  iovec local{out, size};
  iovec remote{reinterpret_cast<void*>(address), size};
  ssize_t got = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
  return got >= 0 && size_t(got) == size;
}

bool TCrashMemoryProbe::ReadPipe(uintptr_t address, void* out, size_t size) {
  if (FPipe[1] < 0) return false;
  char* dst = static_cast<char*>(out);
  while (size) {
    // Writes of up to PIPE_BUF bytes go in whole or not at all.
    size_t chunk = size < 4096 ? size : 4096;
    ssize_t put = write(FPipe[1], reinterpret_cast<const void*>(address), chunk);
    if (put != ssize_t(chunk)) {
      char drain[4096];
      while (read(FPipe[0], drain, sizeof drain) > 0) {}
      return false;
    }
    ssize_t got = read(FPipe[0], dst, chunk);
    if (got != ssize_t(chunk)) return false;
    dst += chunk;
    address += chunk;
    size -= chunk;
  }
  return true;
}

bool TCrashMemoryProbe::Read(uintptr_t address, void* out, size_t size) {
  if (size == 0) return true;
  if (address + size < address) return false;
  return FMethod == pmVmRead ? ReadVm(address, out, size) : ReadPipe(address, out, size);
}

bool TCrashMemoryProbe::Readable(uintptr_t address, size_t size) {
  char scratch[512];
  while (size) {
    size_t chunk = size < sizeof scratch ? size : sizeof scratch;
    if (!Read(address, scratch, chunk)) return false;
    address += chunk;
    size -= chunk;
  }
  return true;
}

} // namespace rasp
