#include <iostream>
#include <string>
#include <vector>

#include "tools/rasp/RaspCli.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = rasp::RunRasp(args, std::cout, std::cerr, rasp::TTerminal::FromProcess());
    std::cout.flush();
    return status;
}
