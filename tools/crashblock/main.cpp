// crashblock: writes, shows and re-stamps the crash data block of a binary.
#include "tools/crashblock/CrashBlockTool.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
  auto usage = [] {
    std::cerr << "usage: crashblock build BINARY OPTIONS.ini\n"
                 "       crashblock dump BINARY\n"
                 "       crashblock stamp BINARY OPTIONS.ini\n";
    return 2;
  };
  if (argc < 3) return usage();
  std::string command = argv[1];
  if (command == "build" && argc == 4) return rasp::CrashBlockBuild(argv[2], argv[3], std::cout, std::cerr);
  if (command == "dump" && argc == 3) return rasp::CrashBlockDump(argv[2], std::cout, std::cerr);
  if (command == "stamp" && argc == 4) return rasp::CrashBlockStamp(argv[2], argv[3], std::cout, std::cerr);
  return usage();
}
