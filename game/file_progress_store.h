#pragma once
// The player's progress in a file of the user's data folder
// (play/progress_record.h gives its text), shared by every game that runs.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "play/game_text.h"
#include "play/progress_record.h"
#include "play/set_progress.h"

/// The progress file of the player: "progress.txt" in the application's data
/// folder (~/.local/share/Vandrel/Korvalo, or under XDG_DATA_HOME).
QString DefaultProgressPath();

class CFileProgressStore : public ProgressStore {
 public:
  /// Reads the file at path. A damaged file is renamed aside (path +
  /// ".damaged", or ".damaged-2" and on when that exists), what could be read
  /// from it is kept, and Problem says so; a missing file is no progress yet.
  explicit CFileProgressStore(QString path);

  std::optional<int> FewestMoves(const std::string& canonicalCode) const override;
  std::string LastPlayed() const override { return m_record.lastPlayed; }
  /// Each write takes the file's lock, reads the file again and merges it
  /// with this game's progress (another game may have written since), then
  /// writes the whole through a temporary file renamed over it. False, with
  /// the progress still kept in memory, when that failed.
  bool SetFewestMoves(const std::string& canonicalCode, int moves) override;
  bool SetLastPlayed(const std::string& canonicalCode) override;
  /// Takes in progress kept elsewhere (an earlier game's settings) and writes.
  bool Merge(const ProgressRecord& other);

  const ProgressRecord& record() const { return m_record; }
  /// What went wrong with the file, for the player; empty when nothing.
  const std::vector<GameText>& Problem() const { return m_problem; }
  /// The name the damaged file was kept under; empty when none was.
  const QString& KeptAsideAs() const { return m_keptAside; }

 private:
  /// Merges the file into m_record, putting a damaged file aside.
  bool ReadFile();
  bool WriteWithChange(const ProgressRecord& change);

  QString m_path;
  ProgressRecord m_record;
  std::vector<GameText> m_problem;
  QString m_keptAside;
};
