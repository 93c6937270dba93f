#include "editing/designer_session.h"

#include <utility>

#include "logic/canonical_code.h"
#include "logic/level_code.h"

namespace {

/// The level a code describes, as read (not searched); none when the code is no level.
std::optional<Level> LevelOfCode(const std::string& code) {
  Level level;
  if (!ParseLevelCode(level, code).accepted) return std::nullopt;
  return level;
}

}  // namespace

DesignerSession::DesignerSession(RandomSource random) : m_board(std::move(random)) {
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
    case SessionCommand::EditLevel: return m_selected.has_value();
    case SessionCommand::MoveUp: return m_selected.value_or(0) > 0;
    case SessionCommand::MoveDown: return m_selected && *m_selected + 1 < count;
    case SessionCommand::Undo: return m_board.CanUndo();
    case SessionCommand::Redo: return m_board.CanRedo();
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
  m_set.New();
}

std::vector<SetLineError> DesignerSession::OpenSet(std::string_view text, std::string path) {
  m_selected.reset();
  std::vector<SetLineError> errors = m_set.Open(text, std::move(path));
  Select(m_set.size() > 0 ? std::optional<std::size_t>(0) : std::nullopt);
  return errors;
}

void DesignerSession::SetSaved(std::string path) { m_set.Saved(std::move(path)); }

void DesignerSession::RecoverSet(std::string_view text, std::string path, bool modified) {
  m_selected.reset();
  m_set.Recovered(text, std::move(path), modified);
  Select(m_set.size() > 0 ? std::optional<std::size_t>(0) : std::nullopt);
}
