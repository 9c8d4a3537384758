#include "crash/delivery/CrashTempFiles.h"

#include <unistd.h>

#include <atomic>
#include <cstring>

namespace rasp {

namespace {
constexpr int Slots = 16;
constexpr size_t PathMax = 4096;

// Fixed memory and atomics only: the removal may run in a signal handler or
// while another thread is inside malloc.
struct TSlot {
  std::atomic<int> State{0};  // 0 free, 1 being written, 2 registered
  char Path[PathMax];
};
TSlot Table[Slots];
} // namespace

TCrashTempPath::TCrashTempPath(const std::string& path) {
  if (path.empty() || path.size() >= PathMax) return;
  for (int i = 0; i < Slots; ++i) {
    int expected = 0;
    if (!Table[i].State.compare_exchange_strong(expected, 1)) continue;
    std::memcpy(Table[i].Path, path.c_str(), path.size() + 1);
    Table[i].State.store(2);
    FSlot = i;
    return;
  }
}

TCrashTempPath::~TCrashTempPath() {
  if (FSlot >= 0) Table[FSlot].State.store(0);
}

void CrashRemoveTempPaths() {
  // Files first, so that their folders are empty for rmdir.
  for (TSlot& s : Table)
    if (s.State.load() == 2) unlink(s.Path);
  for (TSlot& s : Table)
    if (s.State.load() == 2) rmdir(s.Path);
}

} // namespace rasp
