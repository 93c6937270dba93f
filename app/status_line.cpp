#include "app/status_line.h"

#include "editing/editor_document.h"
#include "logic/solver.h"

namespace {

const char* ColourName(Colour colour) {
  switch (colour) {
    case Colour::Blue: return "blue";
    case Colour::Green: return "green";
    case Colour::Red: return "red";
  }
  return "";
}

std::optional<int> ShortestMoves(Level level) {
  const Solution solution = ShortestSolution(level);
  if (!solution.exists) return std::nullopt;
  return static_cast<int>(solution.moves.size());
}

}  // namespace

QString StatusText(const EditingState& editing, std::optional<int> shortestMoves) {
  if (IsCarrying(editing)) {
    return QStringLiteral("Carrying the %1 %2")
        .arg(QLatin1String(ColourName(ColourOf(editing.CarriedItem))),
             IsBall(editing.CarriedItem) ? QStringLiteral("ball") : QStringLiteral("hole"));
  }
  if (!shortestMoves) return QStringLiteral("No solution");
  if (*shortestMoves == 0) return QStringLiteral("Already solved");
  if (*shortestMoves == 1) return QStringLiteral("Shortest solution: 1 move");
  return QStringLiteral("Shortest solution: %1 moves").arg(*shortestMoves);
}

CStatusLine::CStatusLine(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("statusLine"));
  setMargin(4);
  m_messageTime.setSingleShot(true);
  connect(&m_messageTime, &QTimer::timeout, this, &CStatusLine::ShowCurrent);
}

void CStatusLine::ShowLevel(const Level& level, const EditingState& editing) {
  // While a piece is carried the level is not searched, as the lamp shows.
  if (!IsCarrying(editing) && (m_searched.boardSize == 0 || !SameBoard(level, m_searched))) {
    m_searched = level;
    m_shortest = ShortestMoves(level);
  }
  m_levelText = StatusText(editing, m_shortest);
  if (!m_messageTime.isActive()) ShowCurrent();
}

void CStatusLine::ShowMessage(const QString& text, int milliseconds) {
  setText(text);
  m_messageTime.start(milliseconds);
}

void CStatusLine::ShowCurrent() { setText(m_levelText); }
