// crashblock: writes, shows and re-stamps the crash data block of a binary.
#include "tools/crashblock/CrashBlockTool.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  auto usage = [] {
    std::cerr << "usage: crashblock build BINARY OPTIONS.ini\n"
                 "       crashblock dump [--show-secrets] BINARY\n"
                 "       crashblock stamp [--defaults] BINARY OPTIONS.ini\n";
    return 2;
  };
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return usage();
  const std::string command = args[0];
  args.erase(args.begin());
  auto flag = [&](const char* name) {
    if (args.empty() || args[0] != name) return false;
    args.erase(args.begin());
    return true;
  };
  if (command == "build" && args.size() == 2) return rasp::CrashBlockBuild(args[0], args[1], std::cout, std::cerr);
  if (command == "dump") {
    const bool secrets = flag("--show-secrets");
    if (args.size() == 1) return rasp::CrashBlockDump(args[0], std::cout, std::cerr, secrets);
  }
  if (command == "stamp") {
    const bool defaults = flag("--defaults");
    if (args.size() == 2) return rasp::CrashBlockStamp(args[0], args[1], std::cout, std::cerr, defaults);
  }
  return usage();
}
