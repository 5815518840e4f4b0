// quor-reg: get, set and list values of the per-user hive ($XDG_CONFIG_HOME/QuorTools).
#include "tools/quor-reg/RegCommand.h"

#include <iostream>

int main(int argc, char** argv) {
    return RunRegCommand(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
