#include "cli/compose_command.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    return kelvaro::cli::RunCompose(args, std::cout, std::cerr);
}
