#include "logic/level_set.h"

#include <algorithm>
#include <optional>

#include "logic/canonical_code.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "logic/text_checks.h"

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

/// The value of "# key: value" when the comment names the key, in any case.
std::optional<std::string_view> HeaderValue(std::string_view comment, std::string_view key) {
  std::string_view rest = Trim(comment.substr(1));
  if (rest.size() < key.size()) return std::nullopt;
  for (std::size_t i = 0; i < key.size(); ++i) {
    const char c = rest[i];
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != key[i]) return std::nullopt;
  }
  rest = Trim(rest.substr(key.size()));
  if (rest.empty() || rest.front() != ':') return std::nullopt;
  return Trim(rest.substr(1));
}

/// Why the code field of a level line is not one level code, or nothing.
std::optional<Reason> CodeProblem(std::string_view code) {
  Level level;
  ParseResult parsed = ParseLevelCode(level, code);
  if (!parsed.accepted) return std::move(parsed.reason);
  const std::size_t length = LevelCodeLength(level.boardSize);
  if (code.size() > length) {
    return Reason{ReasonId::TextAfterCode, {std::to_string(length)}};
  }
  return std::nullopt;
}

}  // namespace

bool IsCommentLine(std::string_view line) {
  const std::string_view code = Trim(line.substr(0, line.find('\t')));
  return !code.empty() && code.front() == '#';
}

std::optional<std::string_view> SetHeaderValue(std::string_view line, std::string_view key) {
  if (!IsCommentLine(line)) return std::nullopt;
  return HeaderValue(Trim(line), key);
}

namespace {

class SetReader {
 public:
  void ReadLine(int number, std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (number == 1 && line.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
      line.remove_prefix(ByteOrderMark.size());
    }
    if (Trim(line).empty()) return;
    if (IsCommentLine(line)) {
      ReadComment(number, Trim(line));
    } else {
      ReadLevel(number, line);
    }
  }

  LevelSetReading Take() { return std::move(m_reading); }

 private:
  void ReadComment(int number, std::string_view line) {
    if (!m_reading.set.levels.empty()) return;
    for (auto [key, field] :
         {std::pair{"title", &m_reading.set.title}, std::pair{"author", &m_reading.set.author}}) {
      const std::optional<std::string_view> value = HeaderValue(line, key);
      if (!value || !field->empty()) continue;
      if (!IsValidUtf8(*value)) {
        m_reading.errors.push_back(
            {number, std::string(line), {ReasonId::LineNotUtf8}, /*header=*/true});
      } else {
        *field = std::string(*value);
      }
    }
  }

  void ReadLevel(int number, std::string_view line) {
    const std::size_t tab = line.find('\t');
    const std::string_view code = Trim(line.substr(0, tab));
    const std::string_view title = tab == std::string_view::npos ? "" : Trim(line.substr(tab + 1));
    if (code.empty()) {
      m_reading.errors.push_back({number, "", {ReasonId::NoCodeBeforeTab}});
    } else if (std::optional<Reason> problem = CodeProblem(code)) {
      m_reading.errors.push_back({number, std::string(code), std::move(*problem)});
    } else if (!IsValidUtf8(title)) {
      m_reading.errors.push_back({number, std::string(code), {ReasonId::TitleNotUtf8}});
    } else {
      m_reading.set.levels.push_back({number, std::string(code), std::string(title)});
    }
  }

  LevelSetReading m_reading;
};

/// A field as the format can hold it: one line without tabs, trimmed.
std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return std::string(Trim(line));
}

}  // namespace

LevelSetReading ReadLevelSet(std::string_view text) {
  SetReader reader;
  int number = 1;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    reader.ReadLine(number++, text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return reader.Take();
}

std::string WriteLevelSet(const LevelSet& set) {
  std::string text;
  if (const std::string title = OneLine(set.title); !title.empty()) {
    text += "# title: " + title + '\n';
  }
  if (const std::string author = OneLine(set.author); !author.empty()) {
    text += "# author: " + author + '\n';
  }
  for (const SetLevel& level : set.levels) {
    text += OneLine(level.code);
    if (const std::string title = OneLine(level.title); !title.empty()) text += '\t' + title;
    text += '\n';
  }
  return text;
}

std::vector<SetProblem> CheckLevelSet(const LevelSetReading& reading) {
  std::vector<SetProblem> problems;
  for (const SetLineError& error : reading.errors) {
    const SetProblemKind kind =
        error.header ? SetProblemKind::InvalidHeader : SetProblemKind::Invalid;
    problems.push_back({kind, error.line, 0, error.text, error.reason});
  }
  SetLevelChecker checker;
  for (const SetLevel& entry : reading.set.levels) {
    const std::vector<SetProblem> found = checker.Check(entry);
    problems.insert(problems.end(), found.begin(), found.end());
  }
  std::stable_sort(problems.begin(), problems.end(),
                   [](const SetProblem& a, const SetProblem& b) { return a.line < b.line; });
  return problems;
}

std::vector<SetProblem> SetLevelChecker::Check(const SetLevel& entry) {
  if (ParseResult parsed = ParseLevelCode(m_level, entry.code); !parsed.accepted) {
    return {{SetProblemKind::Invalid, entry.line, 0, entry.code, std::move(parsed.reason)}};
  }
  std::vector<SetProblem> problems;
  if (const std::optional<int> first = m_seen.FirstLineOrAdd(CanonicalCode(m_level), entry.line)) {
    problems.push_back({SetProblemKind::Duplicate, entry.line, *first, entry.code, {}});
  }
  if (!SolutionExists(m_level)) {
    problems.push_back({SetProblemKind::Unsolvable, entry.line, 0, entry.code, {}});
  }
  return problems;
}

std::string DescribeSetProblem(const SetProblem& problem) {
  const std::string where = "line " + std::to_string(problem.line) + ": ";
  switch (problem.kind) {
    case SetProblemKind::Invalid:
      return where + "invalid level '" + problem.code + "': " + EnglishReason(problem.reason);
    case SetProblemKind::InvalidHeader:
      return where + "invalid header '" + problem.code + "': " + EnglishReason(problem.reason);
    case SetProblemKind::Unsolvable: return where + problem.code + " has no solution";
    case SetProblemKind::Duplicate:
      return where + problem.code + " is the same level as line " +
             std::to_string(problem.firstLine) + ", up to turns and mirrors";
  }
  return where;
}
