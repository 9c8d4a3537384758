#pragma once
// The reporter's own state lives in memory reserved for it and is never
// destroyed: a failure late in the program's shutdown (a library's static
// destructors run after the program's) still finds the reporter whole.
#include <new>

namespace rasp {

template <class T>
T& CrashImmortal() {
  alignas(T) static unsigned char storage[sizeof(T)];
  static T* object = ::new (static_cast<void*>(storage)) T();
  return *object;
}

} // namespace rasp
