// The game's entry point.
#include <iostream>

#include "shell/command_line.h"
#include "shell/main_loop.h"

int main(int argc, char** argv) {
    const std::optional<int> status =
        AnswerCommandLine({argv + 1, argv + argc}, std::cout, std::cerr);
    if (status) return *status;
    Main();
}
