#pragma once
// The shared table of levels and what the rules make of them (rules_table.tsv),
// read for the native tests; the web module's test under node reads the same file.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct RulesCase {
  std::string code;
  std::string verdict;   // solvable, unsolvable or invalid
  std::string length;    // moves of a shortest solution, or -
  std::string solution;  // letters, or -
  std::vector<std::string> ballsAfterEachMove;
};

inline std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream stream(text);
  while (std::getline(stream, part, separator)) parts.push_back(part);
  return parts;
}

/// The cases of the table; a line that is not five fields ends the reading
/// with what was read so far, which the tests then find short.
inline std::vector<RulesCase> ReadRulesTable(const std::string& path) {
  std::vector<RulesCase> cases;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> fields = SplitOn(line, '\t');
    if (fields.size() != 5) break;
    RulesCase c{fields[0], fields[1], fields[2], fields[3], {}};
    if (fields[4] != "-") c.ballsAfterEachMove = SplitOn(fields[4], ' ');
    cases.push_back(std::move(c));
  }
  return cases;
}
