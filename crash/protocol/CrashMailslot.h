#pragma once
// Our stand-in for a named mailslot: a one-way, message-at-a-time channel
// that a listener (a development environment, say) opens and anyone may
// write to. Here it is a Unix datagram socket named after the slot in the
// user's runtime folder: $XDG_RUNTIME_DIR/mailslot/<name>, or
// /tmp/mailslot-<uid>/<name> without one. Writing to a slot nobody listens
// at does nothing.
#include <cstdint>
#include <string>

namespace rasp {

inline constexpr const char* CrashMailslotName = "Crashwise";
inline constexpr size_t CrashSourcePositionSize = 2052;

// Empty when the path would not fit a socket address.
std::string CrashMailslotPath(const std::string& name);

// The message that asks a listener to open a source line: the unit name,
// zero-terminated, in the first 2048 bytes (cut to 2047), then the line as
// a 32-bit little-endian integer.
std::string CrashSourcePositionMessage(const std::string& unit, uint32_t line);

// Sends one message without waiting; false when no slot of that name is
// open (or the message could not be sent).
bool CrashMailslotSend(const std::string& name, const std::string& message);

} // namespace rasp
