#include "Program.h"
#include "Runtime.h"

int main(int argc, char** argv) {
    return lumeno::start(argc, argv, lumeno::programHeader());
}
