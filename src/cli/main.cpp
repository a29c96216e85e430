#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "velloria-cli " << VELLORIA_VERSION << "\n";
        return 0;
    }
    return RunVelloriaCli(args, std::cout, std::cerr);
}
