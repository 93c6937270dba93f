#pragma once
// The designer's session: the board's document, the level set, the one
// history of both, the verdict on the board's level and every rule between
// them: adding the board's level to the set and putting it back into its set
// level, the tie of the board to the set level it came from, which set level
// is selected, what counts as work that is in no file, what leaving would
// drop, and whether each command can act now. Standard library only; the
// windows show it and turn input into its calls.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/editor_document.h"
#include "editing/set_document.h"
#include "logic/level_analysis.h"

/// What changed: the work (the board's level, a carry, the set, its file or
/// the history), only the selected set level, or only the pointer's hover.
/// Only a change of the work can change the verdict or hold new unkept work.
enum class SessionChange { Work, Selection, Pointer };

/// The commands whose use depends on the session's state.
enum class SessionCommand {
  AddLevel,
  UpdateLevel,
  RemoveLevel,
  MoveUp,
  MoveDown,
  EditLevel,
  RenameLevel,
  SortLevels,
  Undo,
  Redo,
  TestSet
};

/// What a set's levels can be sorted by, each lowest first: the length of
/// the shortest solution, the greedy player's effort, or the grade's points.
enum class SetOrder { Length, GreedyEffort, Grade };

/// What may be said of a level added to the set or put back into it.
struct LevelCaveat {
  enum class Kind { None, NoSolution, SameAs };
  Kind kind = Kind::None;
  std::size_t sameAs = 0;  // for SameAs: the index of the set level it repeats
  friend bool operator==(const LevelCaveat&, const LevelCaveat&) = default;
};

/// A set level the board's level went into, and what may be said of it.
struct KeptLevel {
  std::size_t index = 0;
  LevelCaveat caveat;
};

/// What the designer is about to do that takes the board's level or the set away.
enum class Leaving {
  Close,         // the window closes: the board and the set go
  LeaveSet,      // New or Open: another set comes; the board stays
  ReplaceBoard,  // another set level comes onto the board
};

/// The unkept work that leaving would drop: each part is asked about in turn.
struct UnkeptWork {
  /// The board holds work in no set: changes to the set level of this index,
  /// or (none) a level that is in no set.
  std::optional<std::optional<std::size_t>> board;
  bool set = false;  // the set has changes that are in no file
  bool Any() const { return board.has_value() || set; }
};

class DesignerSession {
 public:
  /// The first board is a random 5 x 5 maze from the source that has a
  /// solution, and the set is empty. Every grade of the session (the
  /// verdict's, the sort by grade) is worked out with the parameters.
  explicit DesignerSession(RandomSource random, GradeParameters grading = {});
  DesignerSession(const DesignerSession&) = delete;
  DesignerSession& operator=(const DesignerSession&) = delete;

  EditorDocument& board() { return m_board; }
  const EditorDocument& board() const { return m_board; }
  const SetDocument& set() const { return m_set; }
  const History& history() const { return m_board.history(); }

  /// Called after every change, with what it touched.
  void AddListener(std::function<void(SessionChange)> listener);

  // --- The selected set level ---
  std::optional<std::size_t> selected() const { return m_selected; }
  /// Selects a level of the set; an index past its end selects none.
  void Select(std::optional<std::size_t> index);

  // --- The board and the set ---
  /// The index of the set level the board came from; none when the board's
  /// level is no level of this set.
  std::optional<std::size_t> BoardSetLevel() const;
  /// True when the board holds work that is in no set: changes to the level
  /// it came from, or a level that was generated or pasted and never added.
  bool BoardUnkept() const;
  /// True while the board or the set holds work that is in no file.
  bool HoldsUnkeptWork() const { return BoardUnkept() || m_set.modified(); }
  /// What leaving this way would drop.
  UnkeptWork WhatLeavingDrops(Leaving leaving) const;
  /// The canonical codes of the set's levels that are levels.
  std::vector<std::string> CanonicalCodes() const;
  /// Whether the command can act now.
  bool CanAct(SessionCommand command) const;

  // --- Changes; each is one undoable step ---
  /// Adds the board's level after the set's last level; the board then stands for it.
  KeptLevel AddBoardLevel();
  /// Puts the board's level into the set level it came from; none when it came from none.
  std::optional<KeptLevel> UpdateBoardLevel();
  /// Keeps the board's work in the set: Update where it came from a set level, else Add.
  KeptLevel KeepBoardLevel();
  /// Puts the set level on the board; false when it is already there unchanged
  /// or its code is no level.
  bool EditLevel(std::size_t index);
  /// Removes the selected level; false when none is selected.
  bool RemoveSelected();
  /// Moves the selected level one place up (down), the selection with it.
  bool MoveSelectedUp();
  bool MoveSelectedDown();
  /// Puts levels into the set after the selected level (after the last when
  /// none is selected) as one step, leaving out codes that are no level and
  /// levels that repeat, up to turns and mirrors, a set level or one before
  /// them; the first of them is selected. Returns how many went in.
  std::size_t InsertLevels(const std::vector<std::string>& codes);
  /// Sorts the set by the key as one step; levels equal in it keep their
  /// order, and those without a solution (or no level at all) go last, in
  /// theirs. The selection stays with its level. False when the set was in
  /// that order already, which then counts as sorted by the key too.
  bool SortLevels(SetOrder key);
  /// The key the set was last sorted by, while its order still follows it.
  std::optional<SetOrder> SortedBy() const;
  /// Gives the set level a title as one step; false when it has it already
  /// or the index lies past the set.
  bool RenameLevel(std::size_t index, std::string title);
  /// Changes the set's title and author and the selected level's title, as
  /// one step; false when nothing differs.
  bool ChangeTitles(std::string title, std::string author, std::string levelTitle);

  // --- Files ---
  /// An empty, unnamed set; the history is forgotten.
  void NewSet();
  /// The set of a file's text; the lines that are not levels are returned.
  std::vector<SetLineError> OpenSet(std::string_view text, std::string path);
  /// After the set's text was written to the file at path.
  void SetSaved(std::string path);
  /// The set kept after a crash in place of this one, as its file at path
  /// would be written; the history starts anew.
  void RecoverSet(std::string_view text, std::string path, bool modified);

 private:
  LevelCaveat CaveatOf(std::size_t index);
  void Notify(SessionChange change);
  /// The first board: random mazes until one has a solution.
  void DrawSolvableFirstBoard();
  /// When the board holds no unkept work, puts the set's first level on it,
  /// as the start of the work rather than a step of it.
  void ShowFirstSetLevel();
  /// The level's figure for the key; none when it is no level or has no solution.
  std::optional<int> SortValue(const std::string& code, SetOrder key) const;
  /// The set's indexes in the order of the key, stable.
  std::vector<std::size_t> OrderBy(SetOrder key) const;

  /// A level's figures the set can be sorted by.
  struct OrderFigures {
    int moves = 0;
    int greedyEffort = 0;
    int gradePoints = 0;
  };

  EditorDocument m_board;
  SetDocument m_set;
  std::optional<std::size_t> m_selected;
  std::vector<std::function<void(SessionChange)>> m_listeners;
  std::optional<SetOrder> m_sortedBy;
  // The figures of the codes sorted so far: a set is sorted again and again,
  // and its order checked after every change.
  mutable std::map<std::string, std::optional<OrderFigures>> m_orderFigures;
  mutable LevelAnalyzer m_orderAnalyzer;
};
