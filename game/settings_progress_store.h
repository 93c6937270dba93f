#pragma once
// The player's progress on the levels of sets, kept in the program's settings.

#include <QSettings>
#include <map>
#include <string>

#include "play/set_progress.h"

/// Progress in QSettings under the application's organisation and name, one
/// value per level: group "SetProgress", key the level's canonical code, value
/// the fewest moves it was solved in. Earlier games kept it there; the game
/// now takes it into the progress file (CFileProgressStore) once.
class CSettingsProgressStore : public ProgressStore {
 public:
  /// The application's organisation and name must be set before.
  CSettingsProgressStore() = default;

  /// A value that is not a count of moves (edited by hand, damaged) counts as
  /// never solved.
  std::optional<int> FewestMoves(const std::string& canonicalCode) const override;
  /// Writes the value through to the settings file; false when that failed.
  bool SetFewestMoves(const std::string& canonicalCode, int moves) override;
  /// The settings keep no level played last.
  std::string LastPlayed() const override { return {}; }
  bool SetLastPlayed(const std::string&) override { return false; }

  /// Every level's fewest moves that can be read, by canonical code.
  std::map<std::string, int> AllFewestMoves() const;
  /// Forgets them all; false when the settings could not be written.
  bool Forget();

 private:
  QSettings m_settings;
};
