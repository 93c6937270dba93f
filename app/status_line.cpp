#include "app/status_line.h"

namespace {

/// The colour as it stands before "ball" or "hole" after "the".
QString ColourName(Colour colour) {
  switch (colour) {
    case Colour::Blue: return CStatusLine::tr("blue");
    case Colour::Green: return CStatusLine::tr("green");
    case Colour::Red: return CStatusLine::tr("red");
  }
  return {};
}

}  // namespace

QString StatusText(const EditingState& editing, std::optional<int> shortestMoves) {
  if (IsCarrying(editing)) {
    const QString colour = ColourName(ColourOf(editing.CarriedItem));
    return IsBall(editing.CarriedItem) ? CStatusLine::tr("Carrying the %1 ball").arg(colour)
                                       : CStatusLine::tr("Carrying the %1 hole").arg(colour);
  }
  if (!shortestMoves) return CStatusLine::tr("No solution");
  if (*shortestMoves == 0) return CStatusLine::tr("Already solved");
  return CStatusLine::tr("Shortest solution: %n move(s)", nullptr, *shortestMoves);
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
