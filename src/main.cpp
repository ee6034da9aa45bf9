// The game's entry point.
#include "shell/main_loop.h"

int main() {
    Main();
}
