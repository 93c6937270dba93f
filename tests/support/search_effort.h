#pragma once
// The work of the solver's search, for the tests and the tools that look for
// the levels on which it is slowest.

#include "logic/two_ended_search.h"

using solving::SearchEffort;

/// Runs the search of SolutionExists afresh and reports its work; encodes
/// startState and targetState like SolutionExists.
SearchEffort MeasureSolutionSearch(Level& level);
