#pragma once
// A level code read and answered in one call, for tests, benchmarks and the
// fuzzer, which want the verdict of a code without a recheck.

#include <string_view>

#include "logic/level.h"
#include "logic/level_code.h"

/// ParseLevelCode, then one search for the verdict. `solvable` is left to the
/// caller's RecheckLevel.
ReadResult ReadLevelCode(Level& level, std::string_view code);
