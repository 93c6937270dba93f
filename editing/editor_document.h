#pragma once
// The editor's document: the program's one level, the editing state and the
// random source its mazes are drawn from. Every change to the level passes
// through Apply, which ends a carry first where the edit asks for it, makes
// the change, runs the recheck where the change needs one, and then tells the
// view to repaint. In designer mode it also keeps the history of changes, the
// place the board's level came from, and the verdict on the level.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "drawing/editing_state.h"
#include "editing/edits.h"
#include "editing/history.h"
#include "logic/level.h"
#include "logic/level_analysis.h"
#include "logic/level_grade.h"
#include "logic/maze.h"
#include "logic/reason.h"

/// Where the board's level came from, and the level as it came: the board
/// holds changes of its own when it differs from that level.
struct BoardOrigin {
  OriginKind kind = OriginKind::None;
  std::uint64_t setLevelId = 0;  // for a set level
  Level level;
};

/// What the analysis of the level found, once per change of the level (see
/// logic/level_analysis.h for what each figure means).
struct Verdict {
  std::optional<int> shortestMoves;  // none when the level has no solution
  std::uint32_t solutions = 0;       // shortest solutions; ManySolutions above the limit
  int counterIntuitiveSteps = 0;     // 0 when the level has no solution
  std::optional<int> greedyEffort;   // none when the level has no solution
  std::optional<LevelGrade> grade;   // none when the level has no solution
  Reason unsolvableReason = {};      // why there is no solution, where it can be told
};

/// What a change touched: the level, the carry or the board's origin (which
/// the status line, the verdict and the set follow), or only the pointer's
/// hover (a repaint, nothing more).
enum class DocumentChange { Level, Pointer };

/// The verdict the analysis gives, its grade under the parameters.
Verdict VerdictOf(const LevelAnalysis& analysis, const GradeParameters& grading);

class EditorDocument {
 public:
  /// Builds the first level, a random 5 x 5 maze, from the source; the
  /// verdict grades levels with the parameters.
  explicit EditorDocument(RandomSource random, GradeParameters grading = {});

  const Level& level() const { return m_level; }
  const EditingState& editing() const { return m_editing; }
  /// The parameters every grade of this document's levels is worked out with.
  const GradeParameters& grading() const { return m_grading; }

  /// Called after every change the view must show, with what it touched.
  void AddListener(std::function<void(DocumentChange)> listener) {
    m_listeners.push_back(std::move(listener));
  }

  /// A pointer move: the hover state follows it, and the view repaints.
  void PointerMoved(int x, int y);
  /// A left click (or the second click of a double click) at a view point.
  void Clicked(int x, int y);

  /// Applies one edit.
  void Apply(const Edit& edit);

  // Undo and redo of level changes. A carry counts as one change from the
  // pick-up to the drop, exchanges on the way included; both end a carry
  // first, as the board commands do. The level afterwards is the level
  // before (or after) the change, field for field. Designer mode keeps the
  // level set's changes in the same history.
  /// Keeps changes for undo from now on; off at first, so an editor without
  /// undo pays nothing for it.
  void EnableUndo() { m_undoEnabled = true; }

  /// From now on every change of the level runs one search, the verdict's,
  /// which also answers the level's `solvable` byte (the lamp's); the edits
  /// skip the recheck of their own. Off at first: the classic editor rechecks
  /// and never searches for a verdict.
  void AnswerSolvableFromVerdict(bool on) { m_solvableFromVerdict = on; }
  bool CanUndo() const { return m_history.CanUndo(); }
  bool CanRedo() const { return m_history.CanRedo(); }
  void Undo();
  void Redo();
  History& history() { return m_history; }
  const History& history() const { return m_history; }

  /// Changes kept for undo at the most; the oldest go first.
  static constexpr std::size_t UndoLimit = History::Limit;

  /// Where the board's level came from.
  const BoardOrigin& origin() const { return m_origin; }
  /// True when the board's level differs from the level it came from.
  bool BoardChanged() const;
  /// The board's level now stands for the set level of this id, as the board
  /// holds it (after it was added to the set or put back into it); undoable.
  void TieToSetLevel(std::uint64_t setLevelId);

  /// Puts a board kept after a crash in place, with where it came from; not
  /// undoable, as it starts the work anew.
  void PutBack(const Level& level, const BoardOrigin& origin);

  /// The verdict on the level as it stands: searched at most once per change
  /// of the level, however often it is asked for. Not to be asked while a
  /// piece is carried, when the level is not searched.
  const Verdict& verdict();
  /// How many times the verdict was searched.
  int verdictSearches() const { return m_verdictSearches; }

  /// How many times the document has rechecked the level itself; the level
  /// builds and the wall flip recheck inside the level logic, unless the
  /// verdict answers solvability.
  int rechecks() const { return m_rechecks; }

  /// For tests that set up a position by hand; the editor changes the level
  /// only through Apply.
  Level& LevelForTests() { return m_level; }

 private:
  /// Ends a carry, rechecking the level; true when a piece was carried.
  bool EndCarry();
  void Recheck();
  /// Sets `solvable` from the verdict, when the verdict answers it.
  void AnswerSolvableFromVerdict();
  /// A random maze of the size, with or without the recheck.
  void BuildRandomMaze(int size);
  void ForgetHoverIfResized(int previousSize);

  // The change each edit makes; true when the view must repaint.
  bool Change(const edit::FlipWall& flip);
  bool Change(const edit::PickUp& pickUp);
  bool Change(const edit::PutDown& putDown);
  bool Change(const edit::Exchange& exchange);
  bool Change(const edit::EndCarry&);
  bool Change(const edit::BoardSize& boardSize);
  bool Change(const edit::Clear&);
  bool Change(const edit::Random&);
  bool Change(const edit::XFlip&);
  bool Change(const edit::YFlip&);
  bool Change(const edit::Rotate&);
  bool Change(const edit::SolutionStep&);
  bool Change(const edit::ReadCode& read);
  bool Change(const edit::ReplaceLevel& replace);

  /// What the board holds apart from the editing state: one side of a change.
  struct BoardState {
    Level level;
    BoardOrigin origin;
  };
  BoardState State() const { return {m_level, m_origin}; }
  /// Keeps the change from before to the board as it stands, when there is one.
  void Record(const BoardState& before, ChangeKind kind);
  /// Puts a kept side of a change in place.
  void Restore(const BoardState& state);
  /// The level changed: the verdict must be searched again.
  void ForgetVerdict();

  Level m_level;
  EditingState m_editing;
  RandomSource m_random;
  GradeParameters m_grading;
  /// Tells every listener of a change.
  void Notify(DocumentChange change);

  std::vector<std::function<void(DocumentChange)>> m_listeners;
  int m_rechecks = 0;
  bool m_undoEnabled = false;
  bool m_solvableFromVerdict = false;
  History m_history;
  BoardState m_beforeCarry;  // the board when the carry under way began
  ChangeKind m_carryKind = ChangeKind::MoveBall;
  BoardOrigin m_origin;
  std::optional<Verdict> m_verdict;  // none until searched since the last change
  LevelAnalyzer m_analyzer;          // keeps its buffers from one search to the next
  int m_verdictSearches = 0;
};

/// The kind of change an edit makes, as the Undo and Redo items name it.
ChangeKind ChangeKindOf(const Edit& edit, CarriedPiece carried);

/// True when the two levels have the same board and every piece of each
/// colour on the same square, whatever the order of the records.
bool SameBoard(const Level& a, const Level& b);

/// True when the edit first puts a carried piece back: every board command
/// does, while the pointer's own edits and a typed code do not.
bool EndsCarryFirst(const Edit& edit);
