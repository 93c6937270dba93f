#pragma once
// The designer's unkept work kept for a start after a crash: the set as its
// file would be written, whether it held changes, the board's level and where
// it came from. A recovery is written whole and read whole or not at all: a
// text cut short or changed in its frame reads as none. Standard library only;
// the editor decides where the files live and when they are written.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/designer_session.h"

struct Recovery {
  std::string setPath;  // the set's file; empty for a set that never had one
  bool setModified = false;
  std::string setText;  // the set as its file would be written
  OriginKind origin = OriginKind::None;
  std::optional<std::size_t> originSetLevel;  // for a set level: its index in the set
  std::string originCode;                     // the level the board came from
  std::string boardCode;                      // the board's level
  friend bool operator==(const Recovery&, const Recovery&) = default;
};

/// The session's work as a recovery.
Recovery RecoveryOf(const DesignerSession& session);
/// Puts the recovered work into the session in place of its own; the history starts anew.
void Recover(DesignerSession& session, const Recovery& recovery);

/// The text of a recovery file.
std::string WriteRecovery(const Recovery& recovery);
/// The recovery a text holds; none unless the text is one whole recovery.
std::optional<Recovery> ReadRecovery(std::string_view text);

/// What a start finds in the recovery folder: a file of another run.
struct RecoveryFile {
  std::string name;
  bool ownerRunning = false;  // the run that writes it still holds its lock
  std::string text;
};

/// What to do with the recovery files a start finds.
struct RecoveryChoice {
  std::vector<std::string> offer;   // readable, with work in them, owner gone
  std::vector<std::string> remove;  // owner gone, nothing to restore in them
};

/// Which files to offer and which to remove; those whose owner still runs are
/// left alone, as that run keeps writing them.
RecoveryChoice ChooseRecoveries(const std::vector<RecoveryFile>& files);

/// True when the recovery holds work that is in no file.
bool HoldsWork(const Recovery& recovery);
/// True when the recovery's board holds work that is in no set.
bool BoardHoldsWork(const Recovery& recovery);
