// placeholder until this file's work lands
#include <iostream>
#include "cli/commands.h"
int RunSolve(const std::vector<std::string>&) { std::cerr << "solve: not built yet\n"; return UsageError; }
