// vkctl: the command-line tool for scripts and headless machines.
#include "cli.h"

int main(int argc, char** argv) {
    return vkctl::Run(argc, argv);
}
