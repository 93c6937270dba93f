#pragma once
// korvalo-level as a whole: the command named by the first word, and the exit
// status that also answers for standard output and for memory.

#include <string>
#include <vector>

#include "cli/commands.h"

/// Runs the command the words name. Flushes standard output at the end: a
/// failed write there, or running out of memory anywhere, is reported on
/// standard error and gives StreamFailure; a broken pipe is not reported.
int RunTool(const std::vector<std::string>& words, CommandStreams& streams);
