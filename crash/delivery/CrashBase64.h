#pragma once
// Base64 of RFC 2045 as the mail uses it: 60 input bytes (80 characters) per
// line, every line, the last one too, ended by CR LF.
#include <string>
#include <string_view>

namespace rasp {

std::string CrashBase64Lines(std::string_view bytes);
// One unbroken line without CR LF (the AUTH LOGIN user name and password).
std::string CrashBase64(std::string_view bytes);

} // namespace rasp
