#include "Cli.h"

int main(int argc, char** argv) {
    return corehost::runCorehost(argc, argv);
}
