#pragma once
// One history of undoable changes, oldest first: the board's changes and, in
// designer mode, the level set's, in the order they were made. A change
// knows how to undo and redo itself; the history only keeps them in order.

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

/// What a change was, for the Undo and Redo items ("Undo Remove Level").
enum class ChangeKind {
  FlipWall,
  MoveBall,
  MoveHole,
  NewBoard,
  Clear,
  RandomMaze,
  XFlip,
  YFlip,
  Rotate,
  SolutionStep,
  LevelCode,
  Paste,
  Generate,
  EditSetLevel,
  AddLevel,
  UpdateLevel,
  RemoveLevel,
  MoveLevelUp,
  MoveLevelDown,
  Titles,
  AddLevels,
  SortLevels,
  RenameLevel,
};

/// One undoable change: each function puts back the state on its side of it.
struct HistoryStep {
  ChangeKind kind;
  std::function<void()> undo;
  std::function<void()> redo;
};

class History {
 public:
  /// Changes kept at the most; the oldest go first.
  static constexpr std::size_t Limit = 1000;

  /// Keeps a change that has just been made; the changes that were undone
  /// before it can no longer be redone. Inside a group it joins the group.
  void Push(HistoryStep step);

  /// Steps pushed until EndGroup become one change of this kind, undone and
  /// redone as a whole; a group that received no step leaves no change.
  void BeginGroup(ChangeKind kind);
  void EndGroup();

  bool CanUndo() const { return !m_undo.empty(); }
  bool CanRedo() const { return !m_redo.empty(); }
  /// The kind of change that Undo (Redo) would take back (make again).
  std::optional<ChangeKind> UndoKind() const;
  std::optional<ChangeKind> RedoKind() const;

  /// Takes back the newest change; false when there is none.
  bool Undo();
  /// Makes the newest undone change again; false when there is none.
  bool Redo();
  /// Forgets every change, as when another level set is opened.
  void Clear();

  /// Called whenever what Undo and Redo would do has changed.
  void SetListener(std::function<void()> listener) { m_listener = std::move(listener); }

 private:
  std::deque<HistoryStep> m_undo;
  std::vector<HistoryStep> m_redo;
  std::optional<ChangeKind> m_groupKind;
  std::vector<HistoryStep> m_group;
  std::function<void()> m_listener = [] {};
};

/// Runs BeginGroup on construction and EndGroup when it goes out of scope.
class HistoryGroup {
 public:
  HistoryGroup(History& history, ChangeKind kind) : m_history(history) {
    m_history.BeginGroup(kind);
  }
  ~HistoryGroup() { m_history.EndGroup(); }
  HistoryGroup(const HistoryGroup&) = delete;
  HistoryGroup& operator=(const HistoryGroup&) = delete;

 private:
  History& m_history;
};
