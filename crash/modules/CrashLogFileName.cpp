// Where the crash log lives: beside the module, in the folder OutputPath
// names, or exactly at OutputPath when that is itself a ".cwf" file.
#include "crash/modules/CrashOptions.h"

#include <cctype>

namespace rasp {

namespace {
size_t NameStart(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

bool HasLogExtension(const std::string& path) {
  const std::string ext = CrashLogExtension;
  if (path.size() - NameStart(path) < ext.size()) return false;
  for (size_t i = 0; i < ext.size(); ++i)
    if (std::tolower(uint8_t(path[path.size() - ext.size() + i])) != ext[i]) return false;
  return true;
}
} // namespace

std::string TCrashModuleOptions::OutputFileName(const std::string& fileName) const {
  if (HasLogExtension(FOutputPath)) return FOutputPath;
  size_t nameStart = NameStart(fileName);
  std::string folder;
  if (FOutputPath.empty()) {
    folder = fileName.substr(0, nameStart);
  } else {
    folder = FOutputPath;
    if (folder.back() != '/') folder += '/';
  }
  return folder + fileName.substr(nameStart);
}

std::string TCrashModuleOptions::LogFileName() const {
  size_t nameStart = NameStart(FModuleName);
  size_t dot = FModuleName.rfind('.');
  std::string base = dot != std::string::npos && dot > nameStart ? FModuleName.substr(0, dot) : FModuleName;
  return OutputFileName(base + CrashLogExtension);
}

} // namespace rasp
