// placeholder until this file's work lands
#include <iostream>
#include "cli/commands.h"
int RunRender(const std::vector<std::string>&) { std::cerr << "render: not built yet\n"; return UsageError; }
