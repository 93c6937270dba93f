#include "app/status_line.h"

namespace {

const char* ColourName(Colour colour) {
  switch (colour) {
    case Colour::Blue: return "blue";
    case Colour::Green: return "green";
    case Colour::Red: return "red";
  }
  return "";
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

void CStatusLine::ShowLevel(const EditingState& editing, std::optional<int> shortestMoves) {
  m_levelText = StatusText(editing, shortestMoves);
  if (!m_messageTime.isActive()) ShowCurrent();
}

void CStatusLine::ShowMessage(const QString& text, int milliseconds) {
  setText(text);
  m_messageTime.start(milliseconds);
}

void CStatusLine::ShowCurrent() { setText(m_levelText); }
