#include "cli.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const cli::ExitStatus status = cli::run(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : cli::exitIoError;
}
