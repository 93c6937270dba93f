#include "editing/history.h"

#include <utility>

void History::Push(HistoryStep step) {
  if (m_groupKind) {
    m_group.push_back(std::move(step));
    return;
  }
  if (m_undo.size() == Limit) m_undo.pop_front();
  m_undo.push_back(std::move(step));
  m_redo.clear();
  m_listener();
}

void History::BeginGroup(ChangeKind kind) {
  m_groupKind = kind;
  m_group.clear();
}

// The group's steps are undone newest first and redone oldest first.
void History::EndGroup() {
  if (!m_groupKind) return;
  const ChangeKind kind = *m_groupKind;
  m_groupKind.reset();
  std::vector<HistoryStep> steps = std::move(m_group);
  m_group.clear();
  if (steps.empty()) return;
  if (steps.size() == 1) {
    steps.front().kind = kind;
    Push(std::move(steps.front()));
    return;
  }
  auto shared = std::make_shared<std::vector<HistoryStep>>(std::move(steps));
  Push({kind,
        [shared] {
          for (auto step = shared->rbegin(); step != shared->rend(); ++step) step->undo();
        },
        [shared] {
          for (HistoryStep& step : *shared) step.redo();
        }});
}

std::optional<ChangeKind> History::UndoKind() const {
  if (m_undo.empty()) return std::nullopt;
  return m_undo.back().kind;
}

std::optional<ChangeKind> History::RedoKind() const {
  if (m_redo.empty()) return std::nullopt;
  return m_redo.back().kind;
}

bool History::Undo() {
  if (m_undo.empty()) return false;
  HistoryStep step = std::move(m_undo.back());
  m_undo.pop_back();
  step.undo();
  m_redo.push_back(std::move(step));
  m_listener();
  return true;
}

bool History::Redo() {
  if (m_redo.empty()) return false;
  HistoryStep step = std::move(m_redo.back());
  m_redo.pop_back();
  step.redo();
  m_undo.push_back(std::move(step));
  m_listener();
  return true;
}

void History::Clear() {
  m_undo.clear();
  m_redo.clear();
  m_listener();
}
