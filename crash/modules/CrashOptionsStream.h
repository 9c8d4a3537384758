#pragma once
// Pieces of the options stream that the data block, the build tool and the
// tests share.
#include "crash/modules/CrashBytes.h"

#include <string>

namespace rasp {

// The form a string is stored in: a single final CR LF (when it is the
// string's first line break) is dropped.
std::string CrashStoredString(const std::string& s);
void WriteCrashString(TByteWriter& w, const std::string& s);
// Reads one string; false (and a failed reader) when it does not fit.
bool ReadCrashString(TByteReader& r, std::string& out);
// Whether custom text `index` is present in a stream of data version v.
bool CrashCustomTextStored(int index, uint16_t v);

} // namespace rasp
