#include "Program.h"
#include "Runtime.h"

int main() {
    return lumeno::start(lumeno::programHeader());
}
