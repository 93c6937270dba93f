#include "editing/designer_session.h"

#include <algorithm>
#include <set>
#include <utility>

#include "logic/canonical_code.h"
#include "logic/level_code.h"
#include "logic/level_generator.h"
#include "logic/level_grade.h"

namespace {

/// The level a code describes, as read (not searched); none when the code is no level.
std::optional<Level> LevelOfCode(const std::string& code) {
  Level level;
  if (!ParseLevelCode(level, code).accepted) return std::nullopt;
  return level;
}

}  // namespace

DesignerSession::DesignerSession(RandomSource random, GradeParameters grading)
    : m_board(std::move(random), grading) {
  DrawSolvableFirstBoard();
  m_board.EnableUndo();
  m_board.AnswerSolvableFromVerdict(true);
  m_set.RecordInto(&m_board.history());
  m_board.AddListener([this](DocumentChange change) {
    Notify(change == DocumentChange::Pointer ? SessionChange::Pointer : SessionChange::Work);
  });
  m_set.AddListener([this] {
    // A level removed (or undone away) takes the selection with it.
    if (m_selected && *m_selected >= m_set.size())
      m_selected = m_set.size() > 0 ? std::optional<std::size_t>(m_set.size() - 1) : std::nullopt;
    Notify(SessionChange::Work);
  });
}

// Most random mazes have no solution, and a first board without one tells a
// designer nothing; should every draw fail, a generated level, which always
// has one, takes its place. The board is the start of the work, not a change.
void DesignerSession::DrawSolvableFirstBoard() {
  constexpr int Draws = 200;
  for (int draw = 1; draw < Draws && !m_board.level().solvable; ++draw)
    m_board.Apply(edit::Random{});
  Level level = m_board.level();
  if (!level.solvable) {
    GenerationRequest request;
    request.minMoves = 1;
    const GenerationResult generated = GenerateLevels(request);
    if (!generated.levels.empty()) ParseLevelCode(level, generated.levels.front().code);
  }
  m_board.PutBack(level, {OriginKind::None, 0, level});
}

void DesignerSession::AddListener(std::function<void(SessionChange)> listener) {
  m_listeners.push_back(std::move(listener));
}

void DesignerSession::Notify(SessionChange change) {
  for (const auto& listener : m_listeners) listener(change);
}

void DesignerSession::Select(std::optional<std::size_t> index) {
  if (index && *index >= m_set.size()) index.reset();
  if (index == m_selected) return;
  m_selected = index;
  Notify(SessionChange::Selection);
}

std::optional<std::size_t> DesignerSession::BoardSetLevel() const {
  const BoardOrigin& origin = m_board.origin();
  if (origin.kind != OriginKind::SetLevel) return std::nullopt;
  return m_set.IndexOf(origin.setLevelId);
}

// A generated or pasted level exists nowhere else until it is added; any
// other board holds work when it differs from the level it came from.
bool DesignerSession::BoardUnkept() const {
  switch (m_board.origin().kind) {
    case OriginKind::Generated:
    case OriginKind::Pasted: return true;
    case OriginKind::None:
    case OriginKind::SetLevel: break;
  }
  return m_board.BoardChanged();
}

UnkeptWork DesignerSession::WhatLeavingDrops(Leaving leaving) const {
  UnkeptWork work;
  if (BoardUnkept()) work.board = BoardSetLevel();
  // Another set level on the board leaves the set as it is.
  work.set = leaving != Leaving::ReplaceBoard && m_set.modified();
  return work;
}

bool DesignerSession::CanAct(SessionCommand command) const {
  const std::size_t count = m_set.size();
  switch (command) {
    case SessionCommand::AddLevel: return true;
    case SessionCommand::UpdateLevel: return BoardSetLevel().has_value() && m_board.BoardChanged();
    case SessionCommand::RemoveLevel:
    case SessionCommand::EditLevel:
    case SessionCommand::RenameLevel: return m_selected.has_value();
    case SessionCommand::SortLevels: return count > 1;
    case SessionCommand::MoveUp: return m_selected.value_or(0) > 0;
    case SessionCommand::MoveDown: return m_selected && *m_selected + 1 < count;
    case SessionCommand::Undo: return m_board.CanUndo();
    case SessionCommand::Redo: return m_board.CanRedo();
    case SessionCommand::TestSet: return count > 0;
  }
  return false;
}

// Only the board's level is searched, and its verdict is the one the status
// line shows; the set's other levels are compared by their canonical codes.
LevelCaveat DesignerSession::CaveatOf(std::size_t index) {
  if (!m_board.verdict().shortestMoves) return {LevelCaveat::Kind::NoSolution, 0};
  const std::string canonical = CanonicalCode(m_board.level());
  for (std::size_t other = 0; other < m_set.size(); ++other) {
    if (other == index) continue;
    const std::optional<Level> level = LevelOfCode(m_set.set().levels[other].code);
    if (level && CanonicalCode(*level) == canonical) return {LevelCaveat::Kind::SameAs, other};
  }
  return {};
}

// The board then stands for the new level, so its later changes go into it.
KeptLevel DesignerSession::AddBoardLevel() {
  m_board.Apply(edit::EndCarry{});
  std::size_t index = 0;
  {
    const HistoryGroup group(m_board.history(), ChangeKind::AddLevel);
    index = m_set.Add(WriteLevelCode(m_board.level()));
    m_board.TieToSetLevel(m_set.IdOf(index));
  }
  Notify(SessionChange::Work);  // the group is kept only now, after its steps were told
  Select(index);
  return {index, CaveatOf(index)};
}

std::optional<KeptLevel> DesignerSession::UpdateBoardLevel() {
  m_board.Apply(edit::EndCarry{});
  const std::optional<std::size_t> index = BoardSetLevel();
  if (!index) return std::nullopt;
  {
    const HistoryGroup group(m_board.history(), ChangeKind::UpdateLevel);
    m_set.Replace(*index, WriteLevelCode(m_board.level()));
    m_board.TieToSetLevel(m_set.IdOf(*index));
  }
  Notify(SessionChange::Work);
  Select(*index);
  return KeptLevel{*index, CaveatOf(*index)};
}

KeptLevel DesignerSession::KeepBoardLevel() {
  if (std::optional<KeptLevel> updated = UpdateBoardLevel()) return *updated;
  return AddBoardLevel();
}

// The level goes on the board as an edit of its own, so Undo takes it back.
bool DesignerSession::EditLevel(std::size_t index) {
  if (index >= m_set.size()) return false;
  if (BoardSetLevel() == index && !m_board.BoardChanged()) return false;  // already there
  std::optional<Level> level = LevelOfCode(m_set.set().levels[index].code);
  if (!level) return false;
  m_board.Apply(edit::ReplaceLevel{std::move(*level), OriginKind::SetLevel, m_set.IdOf(index)});
  return true;
}

bool DesignerSession::RemoveSelected() {
  if (!m_selected) return false;
  m_set.Remove(*m_selected);
  return true;
}

bool DesignerSession::MoveSelectedUp() {
  if (!m_selected || !m_set.MoveUp(*m_selected)) return false;
  Select(*m_selected - 1);
  return true;
}

bool DesignerSession::MoveSelectedDown() {
  if (!m_selected || !m_set.MoveDown(*m_selected)) return false;
  Select(*m_selected + 1);
  return true;
}

std::vector<std::string> DesignerSession::CanonicalCodes() const {
  std::vector<std::string> codes;
  for (const SetLevel& level : m_set.set().levels) {
    if (const std::optional<Level> read = LevelOfCode(level.code))
      codes.push_back(CanonicalCode(*read));
  }
  return codes;
}

std::size_t DesignerSession::InsertLevels(const std::vector<std::string>& codes) {
  const std::vector<std::string> inSet = CanonicalCodes();
  std::set<std::string> known(inSet.begin(), inSet.end());
  std::vector<std::string> fresh;
  for (const std::string& code : codes) {
    const std::optional<Level> level = LevelOfCode(code);
    if (level && known.insert(CanonicalCode(*level)).second) fresh.push_back(code);
  }
  if (fresh.empty()) return 0;
  const std::size_t at = m_selected ? *m_selected + 1 : m_set.size();
  const std::size_t count = fresh.size();
  m_set.Insert(at, std::move(fresh));
  Select(at);
  return count;
}

std::optional<int> DesignerSession::SortValue(const std::string& code, SetOrder key) const {
  auto found = m_orderFigures.find(code);
  if (found == m_orderFigures.end()) {
    std::optional<OrderFigures> figures;
    if (const std::optional<Level> level = LevelOfCode(code)) {
      const LevelAnalysis& analysis = m_orderAnalyzer.Analyze(*level);
      if (const std::optional<LevelGrade> grade = GradeLevel(analysis, m_board.grading()))
        figures = OrderFigures{analysis.moves, analysis.greedyEffort, grade->points};
    }
    found = m_orderFigures.emplace(code, figures).first;
  }
  if (!found->second) return std::nullopt;
  switch (key) {
    case SetOrder::Length: return found->second->moves;
    case SetOrder::GreedyEffort: return found->second->greedyEffort;
    case SetOrder::Grade: return found->second->gradePoints;
  }
  return std::nullopt;
}

std::vector<std::size_t> DesignerSession::OrderBy(SetOrder key) const {
  std::vector<std::optional<int>> values;
  for (const SetLevel& level : m_set.set().levels) values.push_back(SortValue(level.code, key));
  std::vector<std::size_t> order(values.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  // A level without a value goes after every level with one.
  std::stable_sort(order.begin(), order.end(), [&values](std::size_t a, std::size_t b) {
    if (!values[a] || !values[b]) return values[a].has_value() && !values[b].has_value();
    return *values[a] < *values[b];
  });
  return order;
}

bool DesignerSession::SortLevels(SetOrder key) {
  const std::vector<std::size_t> order = OrderBy(key);
  m_sortedBy = key;
  if (std::is_sorted(order.begin(), order.end())) {
    Notify(SessionChange::Work);  // the set is now shown as sorted by the key
    return false;
  }
  const std::optional<std::uint64_t> selectedId =
      m_selected ? std::optional<std::uint64_t>(m_set.IdOf(*m_selected)) : std::nullopt;
  m_set.Reorder(order);
  if (selectedId) Select(m_set.IndexOf(*selectedId));
  return true;
}

std::optional<SetOrder> DesignerSession::SortedBy() const {
  if (!m_sortedBy) return std::nullopt;
  const std::vector<std::size_t> order = OrderBy(*m_sortedBy);
  if (!std::is_sorted(order.begin(), order.end())) return std::nullopt;
  return m_sortedBy;
}

bool DesignerSession::RenameLevel(std::size_t index, std::string title) {
  if (index >= m_set.size() || m_set.set().levels[index].title == title) return false;
  m_set.Rename(index, std::move(title));
  return true;
}

bool DesignerSession::ChangeTitles(std::string title, std::string author, std::string levelTitle) {
  const LevelSet& set = m_set.set();
  const bool namesChanged = title != set.title || author != set.author;
  const bool levelChanged = m_selected && levelTitle != set.levels[*m_selected].title;
  if (!namesChanged && !levelChanged) return false;
  {
    const HistoryGroup group(m_board.history(), ChangeKind::Titles);
    if (namesChanged) m_set.SetNames(std::move(title), std::move(author));
    if (levelChanged) m_set.SetTitle(*m_selected, std::move(levelTitle));
  }
  Notify(SessionChange::Work);
  return true;
}

void DesignerSession::NewSet() {
  m_selected.reset();
  m_sortedBy.reset();
  m_set.New();
}

std::vector<SetLineError> DesignerSession::OpenSet(std::string_view text, std::string path) {
  m_selected.reset();
  m_sortedBy.reset();
  std::vector<SetLineError> errors = m_set.Open(text, std::move(path));
  ShowFirstSetLevel();
  Select(m_set.size() > 0 ? std::optional<std::size_t>(0) : std::nullopt);
  return errors;
}

void DesignerSession::SetSaved(std::string path) { m_set.Saved(std::move(path)); }

void DesignerSession::RecoverSet(std::string_view text, std::string path, bool modified) {
  m_selected.reset();
  m_sortedBy.reset();
  m_set.Recovered(text, std::move(path), modified);
  Select(m_set.size() > 0 ? std::optional<std::size_t>(0) : std::nullopt);
}

// Opening a set leaves the board to the user's work where it holds some (the
// user was asked before and chose to keep it there); else the board shows the
// level the list selects.
void DesignerSession::ShowFirstSetLevel() {
  if (m_set.size() == 0 || BoardUnkept()) return;
  const std::optional<Level> level = LevelOfCode(m_set.set().levels.front().code);
  if (!level) return;
  m_board.PutBack(*level, {OriginKind::SetLevel, m_set.IdOf(0), *level});
}
