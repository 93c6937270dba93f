#pragma once
// What the long searches of the tool (generate, hardest) share: the progress
// line on a terminal, the seed when none is given, and the level set they
// write.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/io/atomic_file.h"
#include "cli/io/checked_output.h"
#include "logic/search_control.h"

/// One line of standard error for a search's progress, redrawn in place with
/// a carriage return while standard error is a terminal; nothing at all
/// otherwise.
class ProgressLine {
 public:
  ProgressLine(CheckedOutput& err, bool shown) : m_err(err), m_shown(shown) {}
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  bool Shown() const { return m_shown; }
  /// Draws the text over the line drawn before.
  void Show(std::string_view text);
  /// Blanks the line and goes back to its start, so that other output can
  /// follow there; the next Show draws it again.
  void Clear();

 private:
  CheckedOutput& m_err;
  bool m_shown;
  std::size_t m_width = 0;  // of the text on the line now
};

/// The time in seconds with one decimal: "12.3 s".
std::string ElapsedText(std::chrono::milliseconds elapsed);

/// A seed for a search that was given none: from the system's random source,
/// or the clock when there is none.
std::uint64_t DrawSeed();

/// Writes the levels as a level set with the title, whole or not at all.
std::optional<FileWriteFailure> WriteFoundLevels(const std::string& path, const std::string& title,
                                                 const std::vector<FoundLevel>& levels);

/// Refuses, before a search starts, an --output file that could not be
/// replaced, and says why after the prefix; true when refused.
bool OutputRefused(std::string_view prefix, const std::optional<std::string>& output,
                   CheckedOutput& err);

/// Writes the levels found to the --output file (standard output for "-"),
/// or says why not (no level found, or the file could not be written);
/// returns the exit status, which is the search's own unless the write failed.
int WriteOutputFile(std::string_view prefix, const std::string& path, const std::string& title,
                    const std::vector<FoundLevel>& levels, int status, CommandStreams& streams);
