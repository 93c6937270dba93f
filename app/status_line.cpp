#include "app/status_line.h"

#include "view/board_description.h"
#include "view/grade_wording.h"
#include "view/reason_wording.h"
#include "view/status_accessible.h"

QString StatusText(const EditingState& editing, std::optional<int> shortestMoves) {
  if (IsCarrying(editing)) {
    const QString colour = ColourWord(ColourOf(editing.CarriedItem));
    return IsBall(editing.CarriedItem) ? CStatusLine::tr("Carrying the %1 ball").arg(colour)
                                       : CStatusLine::tr("Carrying the %1 hole").arg(colour);
  }
  if (!shortestMoves) return CStatusLine::tr("No solution");
  if (*shortestMoves == 0) return CStatusLine::tr("Already solved");
  return CStatusLine::tr("Shortest solution: %n move(s)", nullptr, *shortestMoves);
}

/// " · grade Hard", or nothing for a level without grade.
QString GradeFigure(const Verdict& verdict) {
  if (!verdict.grade) return {};
  return QStringLiteral(" \u00b7 ") + CStatusLine::tr("grade %1 (%2 points)")
                                          .arg(GradeWord(verdict.grade->grade))
                                          .arg(verdict.grade->points);
}

QString VerdictFigures(const Verdict& verdict) {
  // A solved level or one without solution has nothing more to tell.
  if (!verdict.shortestMoves || *verdict.shortestMoves == 0 || !verdict.greedyEffort) return {};
  const QString solutions =
      verdict.solutions == ManySolutions
          ? CStatusLine::tr("more than %1 shortest solutions").arg(SolutionCountLimit)
          : CStatusLine::tr("%n shortest solution(s)", "", static_cast<int>(verdict.solutions));
  return solutions + QStringLiteral(" \u00b7 ") +
         CStatusLine::tr("%n counter-intuitive step(s)", "", verdict.counterIntuitiveSteps) +
         QStringLiteral(" \u00b7 ") +
         CStatusLine::tr("greedy effort %1").arg(*verdict.greedyEffort) + GradeFigure(verdict);
}

QString StatusWithFigures(const EditingState& editing, const Verdict* verdict,
                          const QString& separator) {
  QString status = StatusText(editing, verdict != nullptr ? verdict->shortestMoves : std::nullopt);
  if (verdict != nullptr && !verdict->shortestMoves &&
      verdict->unsolvableReason.id != ReasonId::None)
    status = CStatusLine::tr("No solution: %1").arg(ReasonWording(verdict->unsolvableReason));
  const QString figures = verdict != nullptr ? VerdictFigures(*verdict) : QString();
  return figures.isEmpty() ? status : status + separator + figures;
}

CStatusLine::CStatusLine(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("statusLine"));
  setMargin(4);
  // As wide as the board above it: a long text wraps instead of taking the
  // panel's width.
  setWordWrap(true);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  // The window keeps room for the length and its figures, which wrap to three
  // lines; a longer message grows downward, so its first line stays in sight.
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setMinimumHeight(3 * fontMetrics().lineSpacing() + 2 * margin());
  // Every message and every new verdict reaches a screen reader.
  MakeStatusLine(this);
  m_messageTime.setSingleShot(true);
  connect(&m_messageTime, &QTimer::timeout, this, &CStatusLine::ShowCurrent);
}

void CStatusLine::ShowLevel(const EditingState& editing, const Verdict* verdict) {
  // The figures on a line of their own, under the length.
  m_levelText = StatusWithFigures(editing, verdict, QStringLiteral("\n"));
  if (!m_messageTime.isActive()) ShowCurrent();
}

void CStatusLine::ShowMessage(const QString& text, int milliseconds) {
  SetStatusText(this, text, Repeat::Told);
  m_messageTime.start(milliseconds);
}

void CStatusLine::ShowCurrent() { SetStatusText(this, m_levelText); }
