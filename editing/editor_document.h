#pragma once
// The editor's document: the program's one level, the editing state and the
// random source its mazes are drawn from. Every change to the level passes
// through Apply, which ends a carry first where the edit asks for it, makes
// the change, runs the recheck where the change needs one, and then tells the
// view to repaint.

#include <cstddef>
#include <functional>
#include <vector>

#include "drawing/editing_state.h"
#include "editing/edits.h"
#include "logic/level.h"
#include "logic/maze.h"

class EditorDocument {
 public:
  /// Builds the first level, a random 5 x 5 maze, from the source.
  explicit EditorDocument(RandomSource random);

  const Level& level() const { return m_level; }
  const EditingState& editing() const { return m_editing; }

  /// Called after every change the view must show.
  void SetChangedCallback(std::function<void()> changed) { m_changed = std::move(changed); }

  /// A pointer move: the hover state follows it, and the view repaints.
  void PointerMoved(int x, int y);
  /// A left click (or the second click of a double click) at a view point.
  void Clicked(int x, int y);

  /// Applies one edit.
  void Apply(const Edit& edit);

  // Undo and redo of level changes. A carry counts as one change from the
  // pick-up to the drop, exchanges on the way included; both end a carry
  // first, as the board commands do. The level afterwards is the level
  // before (or after) the change, field for field.
  /// Keeps changes for undo from now on; off at first, so an editor without
  /// undo pays nothing for it.
  void EnableUndo() { m_undoEnabled = true; }
  bool CanUndo() const { return !m_undo.empty(); }
  bool CanRedo() const { return !m_redo.empty(); }
  void Undo();
  void Redo();

  /// Changes kept for undo at the most; the oldest go first.
  static constexpr std::size_t UndoLimit = 1000;

  /// How many times the document has rechecked the level itself; the level
  /// builds and the wall flip recheck inside the level logic.
  int rechecks() const { return m_rechecks; }

  /// For tests that set up a position by hand; the editor changes the level
  /// only through Apply.
  Level& LevelForTests() { return m_level; }

 private:
  /// Ends a carry, rechecking the level; true when a piece was carried.
  bool EndCarry();
  void Recheck();
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

  /// One change that can be undone: the level before it and after it.
  struct Step {
    Level before;
    Level after;
  };
  /// Keeps the change from before to the current level, when there is one.
  void Record(const Level& before);
  /// Puts a kept level in place, from one list of changes to the other.
  void Restore(std::vector<Step>& from, std::vector<Step>& to, bool forward);

  Level m_level;
  EditingState m_editing;
  RandomSource m_random;
  std::function<void()> m_changed = [] {};
  int m_rechecks = 0;
  bool m_undoEnabled = false;
  std::vector<Step> m_undo;
  std::vector<Step> m_redo;
  Level m_beforeCarry;  // the level when the carry under way began
};

/// True when the two levels have the same board and every piece of each
/// colour on the same square, whatever the order of the records.
bool SameBoard(const Level& a, const Level& b);

/// True when the edit first puts a carried piece back: every board command
/// does, while the pointer's own edits and a typed code do not.
bool EndsCarryFirst(const Edit& edit);
