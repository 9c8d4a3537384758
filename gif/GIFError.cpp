#include "gif/GIFError.h"

#include <cstdio>

namespace rasp {

std::string FormatGIFMessage(const char* pattern, const std::string& arg) {
  std::string out(pattern);
  const auto pos = out.find("%s");
  if (pos != std::string::npos) out.replace(pos, 2, arg);
  return out;
}

std::string FormatGIFMessage(const char* pattern, unsigned byteArg) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%.2x", byteArg & 0xFFu);
  std::string out(pattern);
  const auto pos = out.find("%.2x");
  if (pos != std::string::npos) out.replace(pos, 4, hex);
  return out;
}

void RaiseGIFError(const std::string& message) { throw EInvalidGraphicOperation(message); }

}  // namespace rasp
