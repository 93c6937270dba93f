#pragma once
// The subcommands of korvalo-level. Each gets the arguments after its own name
// and returns the process's exit status.

#include <string>
#include <vector>

/// Exit status for a wrong command line.
inline constexpr int UsageError = 2;

int RunSolve(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
