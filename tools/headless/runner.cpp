// Placeholder entry until the runner lands.
#include "platform/headless/headless.h"
#include "shell/main_loop.h"

int main() {
    try {
        Main();
    } catch (const headless::ProgramExit& exit) {
        return exit.Status;
    }
}
