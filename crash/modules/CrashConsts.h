#pragma once
// Fixed values of the reporter's formats.
#include <cstdint>

namespace rasp {

// Every string of the options stream and every name of the debug data is
// stored with each byte XORed with this key.
inline constexpr uint8_t CrashStringKey = 0xA7;

// The module data block: magic, then the data version this system writes.
inline constexpr uint32_t CrashBlockMagic = 0x000FAB10;
inline constexpr uint16_t CrashDataVersion = 460;
// ELF section that carries the block (not loaded at run time).
inline constexpr const char* CrashBlockSection = ".cwdata";

// Extension of the crash log file.
inline constexpr const char* CrashLogExtension = ".cwf";

// Upper bounds that keep a hostile block from costing more than a real one.
inline constexpr uint32_t CrashMaxPayload = 16u << 20;     // inflated block
inline constexpr uint32_t CrashMaxListEntries = 1u << 16;  // filter pairs

inline constexpr int CrashCustomTextCount = 71;

} // namespace rasp
