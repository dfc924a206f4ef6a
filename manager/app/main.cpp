#include "app/torvane_main.h"

int main(int argc, char** argv) {
    return torvane::RunTorvane(argc, argv);
}
