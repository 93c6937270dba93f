#include "editing/editor_document.h"

#include <type_traits>

#include "editing/pointer_editing.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "logic/symmetry.h"
#include "logic/unsolvable_reason.h"

namespace {

/// The record of the carried piece's colour among its kind's records; null when none has it.
Piece* RecordOf(Level& level, CarriedPiece piece) {
  Pieces& pieces = IsBall(piece) ? level.balls : level.holes;
  for (Piece& record : pieces) {
    if (record.colour == ColourNumber(ColourOf(piece))) return &record;
  }
  return nullptr;
}

bool SamePieces(const Pieces& a, const Pieces& b) {
  for (const Piece& piece : a) {
    bool found = false;
    for (const Piece& other : b) {
      found = found || (other.colour == piece.colour && other.column == piece.column &&
                        other.row == piece.row);
    }
    if (!found) return false;
  }
  return true;
}

/// Edits that belong to a carry, which is kept as one change when it ends.
bool IsPointerEdit(const Edit& edit) {
  return std::holds_alternative<edit::PickUp>(edit) ||
         std::holds_alternative<edit::PutDown>(edit) ||
         std::holds_alternative<edit::Exchange>(edit);
}

void MoveTo(Piece& piece, int column, int row) {
  piece.column = static_cast<std::int8_t>(column);
  piece.row = static_cast<std::int8_t>(row);
}

}  // namespace

bool SameBoard(const Level& a, const Level& b) {
  return a.boardSize == b.boardSize && a.cells == b.cells && SamePieces(a.balls, b.balls) &&
         SamePieces(a.holes, b.holes);
}

ChangeKind ChangeKindOf(const Edit& edit, CarriedPiece carried) {
  if (IsPointerEdit(edit) || std::holds_alternative<edit::EndCarry>(edit))
    return IsHole(carried) ? ChangeKind::MoveHole : ChangeKind::MoveBall;
  if (const auto* replace = std::get_if<edit::ReplaceLevel>(&edit)) {
    switch (replace->from) {
      case OriginKind::SetLevel: return ChangeKind::EditSetLevel;
      case OriginKind::Generated: return ChangeKind::Generate;
      case OriginKind::Pasted: return ChangeKind::Paste;
      case OriginKind::None: break;
    }
    return ChangeKind::LevelCode;
  }
  return std::visit(
      [](const auto& e) {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, edit::FlipWall>) return ChangeKind::FlipWall;
        if constexpr (std::is_same_v<E, edit::BoardSize>) return ChangeKind::NewBoard;
        if constexpr (std::is_same_v<E, edit::Clear>) return ChangeKind::Clear;
        if constexpr (std::is_same_v<E, edit::Random>) return ChangeKind::RandomMaze;
        if constexpr (std::is_same_v<E, edit::XFlip>) return ChangeKind::XFlip;
        if constexpr (std::is_same_v<E, edit::YFlip>) return ChangeKind::YFlip;
        if constexpr (std::is_same_v<E, edit::Rotate>) return ChangeKind::Rotate;
        if constexpr (std::is_same_v<E, edit::SolutionStep>) return ChangeKind::SolutionStep;
        return ChangeKind::LevelCode;
      },
      edit);
}

bool EndsCarryFirst(const Edit& edit) {
  return !IsPointerEdit(edit) && !std::holds_alternative<edit::FlipWall>(edit) &&
         !std::holds_alternative<edit::ReadCode>(edit);
}

EditorDocument::EditorDocument(RandomSource random, GradeParameters grading)
    : m_random(std::move(random)), m_grading(grading) {
  m_level.boardSize = 5;
  RandomMaze(m_level, 5, m_random);
  m_origin.level = m_level;
}

void EditorDocument::PointerMoved(int x, int y) {
  HoverAt(m_level, m_editing, x, y);
  Notify(DocumentChange::Pointer);
}

void EditorDocument::Clicked(int x, int y) {
  const ClickEdit click = DecideClick(m_level, m_editing, x, y);
  // A click that hits nothing changes nothing and repaints nothing.
  std::visit(
      [this](const auto& e) {
        if constexpr (!std::is_same_v<std::decay_t<decltype(e)>, std::monostate>) Apply(e);
      },
      click);
}

// The order is fixed: the carry ends first, then the change with its recheck,
// then one repaint for both.
void EditorDocument::Apply(const Edit& edit) {
  const bool endedCarry = EndsCarryFirst(edit) && EndCarry();
  const bool wasCarrying = IsCarrying(m_editing);
  const BoardState before = m_undoEnabled ? State() : BoardState{};
  const bool changed = std::visit([this](const auto& e) { return Change(e); }, edit);
  if (changed) ForgetVerdict();
  if (!m_undoEnabled) {
    // Nothing is kept.
  } else if (!IsPointerEdit(edit)) {
    Record(before, ChangeKindOf(edit, CarriedPiece::Nothing));
  } else if (!wasCarrying && IsCarrying(m_editing)) {
    // A pick-up: the carry is kept as one change when it ends.
    m_beforeCarry = before;
    m_carryKind = ChangeKindOf(edit, m_editing.CarriedItem);
  } else if (wasCarrying && !IsCarrying(m_editing)) {
    Record(m_beforeCarry, m_carryKind);
  }
  if (endedCarry || changed) Notify(DocumentChange::Level);
}

bool EditorDocument::EndCarry() {
  if (!IsCarrying(m_editing)) return false;
  m_editing.CarriedItem = CarriedPiece::Nothing;
  Recheck();
  ForgetVerdict();
  if (m_undoEnabled) Record(m_beforeCarry, m_carryKind);
  return true;
}

void EditorDocument::Notify(DocumentChange change) {
  if (change == DocumentChange::Level) AnswerSolvableFromVerdict();
  for (const auto& listener : m_listeners) listener(change);
}

// The verdict searches only when the level changed since its last search, so
// a change that left the level alone (a tie to a set level) costs nothing. A
// carried piece is not searched; its put-down is.
void EditorDocument::AnswerSolvableFromVerdict() {
  if (!m_solvableFromVerdict || IsCarrying(m_editing)) return;
  m_level.solvable = verdict().shortestMoves ? 1 : 0;
}

bool EditorDocument::BoardChanged() const { return !SameBoard(m_origin.level, m_level); }

void EditorDocument::TieToSetLevel(std::uint64_t setLevelId) {
  const BoardState before = State();
  m_origin = {OriginKind::SetLevel, setLevelId, m_level};
  if (m_undoEnabled) Record(before, ChangeKind::UpdateLevel);
  Notify(DocumentChange::Level);
}

void EditorDocument::PutBack(const Level& level, const BoardOrigin& origin) {
  m_editing.CarriedItem = CarriedPiece::Nothing;
  const int previousSize = m_level.boardSize;
  m_level = level;
  m_origin = origin;
  Recheck();
  ForgetHoverIfResized(previousSize);
  ForgetVerdict();
  Notify(DocumentChange::Level);
}

const Verdict& EditorDocument::verdict() {
  if (!m_verdict) {
    m_verdict = VerdictOf(m_analyzer.Analyze(m_level), m_grading);
    if (!m_verdict->shortestMoves) m_verdict->unsolvableReason = UnsolvableReason(m_level);
    ++m_verdictSearches;
  }
  return *m_verdict;
}

Verdict VerdictOf(const LevelAnalysis& analysis, const GradeParameters& grading) {
  Verdict verdict;
  verdict.solutions = analysis.solutions;
  if (!analysis.solvable) return verdict;
  verdict.shortestMoves = analysis.moves;
  verdict.counterIntuitiveSteps = static_cast<int>(analysis.counterIntuitiveSteps.size());
  verdict.greedyEffort = analysis.greedyEffort;
  verdict.grade = GradeLevel(analysis, grading);
  return verdict;
}

void EditorDocument::ForgetVerdict() { m_verdict.reset(); }

void EditorDocument::Record(const BoardState& before, ChangeKind kind) {
  const bool sameOrigin = before.origin.kind == m_origin.kind &&
                          before.origin.setLevelId == m_origin.setLevelId &&
                          SameBoard(before.origin.level, m_origin.level);
  if (sameOrigin && SameBoard(before.level, m_level)) return;
  m_history.Push(
      {kind, [this, before] { Restore(before); }, [this, after = State()] { Restore(after); }});
}

void EditorDocument::Undo() {
  const bool endedCarry = EndCarry();
  const bool undone = m_history.Undo();
  if (endedCarry || undone) Notify(DocumentChange::Level);
}

void EditorDocument::Redo() {
  const bool endedCarry = EndCarry();
  const bool redone = m_history.Redo();
  if (endedCarry || redone) Notify(DocumentChange::Level);
}

void EditorDocument::Restore(const BoardState& state) {
  const int previousSize = m_level.boardSize;
  m_level = state.level;
  m_origin = state.origin;
  ForgetHoverIfResized(previousSize);
  ForgetVerdict();
}

// The one place where the editor rechecks its level; the level builds and the
// wall flip recheck inside the level logic. Designer mode answers from the
// verdict instead, once the change is made.
void EditorDocument::Recheck() {
  if (m_solvableFromVerdict) return;
  RecheckLevel(m_level);
  ++m_rechecks;
}

void EditorDocument::ForgetHoverIfResized(int previousSize) {
  if (m_level.boardSize != previousSize) ResetHover(m_editing);
}

bool EditorDocument::Change(const edit::FlipWall& flip) {
  if (m_solvableFromVerdict) {
    ToggleWallWithoutRecheck(m_level, flip.column, flip.row, flip.kind);
  } else {
    ToggleWall(m_level, flip.column, flip.row, flip.kind);
  }
  return true;
}

bool EditorDocument::Change(const edit::PickUp& pickUp) {
  m_editing.CarriedItem = pickUp.piece;
  return true;
}

bool EditorDocument::Change(const edit::PutDown& putDown) {
  Piece* carried = RecordOf(m_level, putDown.piece);
  if (carried == nullptr) return false;  // a carried colour with no record never arises
  MoveTo(*carried, putDown.column, putDown.row);
  m_editing.CarriedItem = CarriedPiece::Nothing;
  Recheck();
  return true;
}

// The displaced piece takes the square the carried one came from and is
// carried on; nothing is rechecked while a piece is in the hand.
bool EditorDocument::Change(const edit::Exchange& exchange) {
  Piece* carried = RecordOf(m_level, exchange.piece);
  Piece* displaced = RecordOf(m_level, exchange.displaced);
  if (carried == nullptr || displaced == nullptr) return false;
  MoveTo(*displaced, carried->column, carried->row);
  MoveTo(*carried, exchange.column, exchange.row);
  m_editing.CarriedItem = exchange.displaced;
  return true;
}

bool EditorDocument::Change(const edit::EndCarry&) { return false; }

// A new size starts from the default placement; the current size keeps every
// piece on its square, as Random does.
bool EditorDocument::Change(const edit::BoardSize& boardSize) {
  if (!IsBoardSize(boardSize.size)) return false;
  const int previousSize = m_level.boardSize;
  // An off-board ball makes the placement invalid, so the new maze places the
  // pieces afresh.
  if (previousSize != boardSize.size) m_level.balls[0].column = -1;
  BuildRandomMaze(boardSize.size);
  ForgetHoverIfResized(previousSize);
  return true;
}

bool EditorDocument::Change(const edit::Clear&) {
  if (m_solvableFromVerdict) {
    ClearMazeWithoutRecheck(m_level, m_level.boardSize);
  } else {
    ClearMaze(m_level, m_level.boardSize);
  }
  return true;
}

bool EditorDocument::Change(const edit::Random&) {
  BuildRandomMaze(m_level.boardSize);
  return true;
}

void EditorDocument::BuildRandomMaze(int size) {
  if (m_solvableFromVerdict) {
    RandomMazeWithoutRecheck(m_level, size, m_random);
  } else {
    RandomMaze(m_level, size, m_random);
  }
}

bool EditorDocument::Change(const edit::XFlip&) {
  XFlip(m_level);
  return true;
}

bool EditorDocument::Change(const edit::YFlip&) {
  YFlip(m_level);
  return true;
}

bool EditorDocument::Change(const edit::Rotate&) {
  RotateLevel(m_level);
  return true;
}

// Solved or stuck, nothing moves; the board is repainted all the same.
bool EditorDocument::Change(const edit::SolutionStep&) {
  StepTowardSolution(m_level);
  return true;
}

// A rejected text leaves the level as it was; the recheck and the repaint run
// all the same. A carry under way goes on.
bool EditorDocument::Change(const edit::ReadCode& read) {
  const int previousSize = m_level.boardSize;
  ParseLevelCode(m_level, read.text);
  Recheck();
  ForgetHoverIfResized(previousSize);
  return true;
}

bool EditorDocument::Change(const edit::ReplaceLevel& replace) {
  const int previousSize = m_level.boardSize;
  m_level = replace.level;
  m_origin = {replace.from, replace.setLevelId, replace.level};
  Recheck();
  ForgetHoverIfResized(previousSize);
  return true;
}
