#pragma once
// Where the process stands in its start-up and shutdown, as the report sees
// it. Start-up lasts until main is reached (every static initialiser of the
// program has run); shutdown begins when main returns or exit is called, so
// that atexit handlers and static destructors are part of it.
namespace rasp {

bool CrashInUnitInit();   // true until main is reached
bool CrashInUnitFinal();  // true from the first finalisation on

// Run by the object library rasp_crash_init around the program's main.
void CrashUnitInitDone();
void CrashUnitFinalBegins();

} // namespace rasp
