#include "cli/long_search.h"

#include <random>

#include "cli/commands.h"
#include "cli/io/escaped_text.h"
#include "logic/level_set.h"

void ProgressLine::Show(std::string_view text) {
  if (!m_shown) return;
  std::string line = "\r";
  line += text;
  // Blanks over what is left of a longer line before.
  if (text.size() < m_width) line.append(m_width - text.size(), ' ');
  m_width = text.size();
  m_err.Write(line);
}

void ProgressLine::Clear() {
  if (!m_shown || m_width == 0) return;
  std::string blank = "\r";
  blank.append(m_width, ' ');
  blank += '\r';
  m_width = 0;
  m_err.Write(blank);
}

std::string ElapsedText(std::chrono::milliseconds elapsed) {
  const long long tenths = elapsed.count() / 100;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
}

std::uint64_t DrawSeed() {
  try {
    std::random_device device;
    return device();
  } catch (const std::exception&) {
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count() &
                                      0xffffffff);
  }
}

namespace {

LevelSet FoundLevelSet(const std::string& title, const std::vector<FoundLevel>& levels) {
  LevelSet set;
  set.title = title;
  for (const FoundLevel& level : levels) set.levels.push_back({0, level.code, {}});
  return set;
}

}  // namespace

std::optional<FileWriteFailure> WriteFoundLevels(const std::string& path, const std::string& title,
                                                 const std::vector<FoundLevel>& levels) {
  return ReplaceFile(path, WriteLevelSet(FoundLevelSet(title, levels)));
}

bool OutputRefused(std::string_view prefix, const std::optional<std::string>& output,
                   CheckedOutput& err) {
  if (!output || *output == StandardOutputName) return false;
  const auto refusal = CheckReplaceable(*output);
  if (!refusal) return false;
  err.Write(std::string(prefix) + refusal->message + "\n");
  return true;
}

int WriteOutputFile(std::string_view prefix, const std::string& path, const std::string& title,
                    const std::vector<FoundLevel>& levels, int status, CommandStreams& streams) {
  CheckedOutput& err = streams.err;
  if (path == StandardOutputName) {
    streams.out.Write(WriteLevelSet(FoundLevelSet(title, levels)));
    return status;
  }
  if (levels.empty()) {
    err.Write(std::string(prefix) + "no level found; " + QuoteFileName(path) + " is left alone\n");
    return status;
  }
  if (const auto failure = WriteFoundLevels(path, title, levels)) {
    err.Write(std::string(prefix) + failure->message + "\n");
    return CommandFailure;
  }
  return status;
}
