#include "view/reason_wording.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <array>

namespace {

// The reasons as the code reader, the set reader, the level generator and the
// game's file reading write them, with %1 and %2 where numbers or words stand.
constexpr std::array Forms = {
    QT_TRANSLATE_NOOP("Reason", "the first character must be the board size 3, 5 or 7"),
    QT_TRANSLATE_NOOP("Reason", "the code ends before its %1 coordinate digits"),
    QT_TRANSLATE_NOOP("Reason", "character %1 is not a coordinate from 0 to %2"),
    QT_TRANSLATE_NOOP("Reason", "two balls or two holes stand on one square"),
    QT_TRANSLATE_NOOP("Reason", "the code ends before its %1 wall digits"),
    QT_TRANSLATE_NOOP("Reason", "character %1 is not a hexadecimal wall digit"),
    QT_TRANSLATE_NOOP("Reason",
                      "text follows the %1 characters of the code; a title goes after a tab"),
    QT_TRANSLATE_NOOP("Reason", "the line is not valid UTF-8"),
    QT_TRANSLATE_NOOP("Reason", "the line has no code before its tab"),
    QT_TRANSLATE_NOOP("Reason", "the title is not valid UTF-8"),
    QT_TRANSLATE_NOOP("Reason", "the board size must be 3, 5 or 7"),
    QT_TRANSLATE_NOOP("Reason", "the least number of moves must not be negative"),
    QT_TRANSLATE_NOOP("Reason", "a shortest solution on a %1 x %1 board has at most %2 moves"),
    QT_TRANSLATE_NOOP("Reason", "the largest number of moves must not be below the least"),
    QT_TRANSLATE_NOOP("Reason", "the number of levels must not be negative"),
    QT_TRANSLATE_NOOP("Reason", "the number of walls to open must not be negative"),
    QT_TRANSLATE_NOOP("Reason", "the attempt limit must be at least 1"),
    QT_TRANSLATE_NOOP("Reason", "the time limit must not be negative"),
    QT_TRANSLATE_NOOP("Reason", "no such file"),
    QT_TRANSLATE_NOOP("Reason", "it is a folder"),
    QT_TRANSLATE_NOOP("Reason", "it is not a regular file"),
    QT_TRANSLATE_NOOP("Reason", "it is larger than %1 MiB"),
};

/// A pattern that matches the form with anything in place of %1 and %2; a
/// marker that stands twice must stand for the same text both times.
QRegularExpression PatternOf(const QString& form) {
  static const QRegularExpression marker(QStringLiteral("%([1-9])"));
  QString pattern = QStringLiteral("^");
  QStringList seen;
  qsizetype from = 0;
  for (auto match = marker.globalMatch(form); match.hasNext();) {
    const QRegularExpressionMatch found = match.next();
    pattern += QRegularExpression::escape(form.mid(from, found.capturedStart() - from));
    const QString name = QStringLiteral("m") + found.captured(1);
    pattern += seen.contains(name) ? QStringLiteral("\\k<%1>").arg(name)
                                   : QStringLiteral("(?<%1>.+?)").arg(name);
    seen << name;
    from = found.capturedEnd();
  }
  pattern += QRegularExpression::escape(form.mid(from)) + QStringLiteral("$");
  return QRegularExpression(pattern);
}

}  // namespace

QString ReasonWording(const std::string& reason) {
  const QString english = QString::fromStdString(reason);
  for (const char* form : Forms) {
    const QRegularExpressionMatch match = PatternOf(QString::fromLatin1(form)).match(english);
    if (!match.hasMatch()) continue;
    const QString wording = QCoreApplication::translate("Reason", form);
    const QString first = match.captured(QStringLiteral("m1"));
    const QString second = match.captured(QStringLiteral("m2"));
    if (match.lastCapturedIndex() >= 2) return wording.arg(first, second);
    if (match.lastCapturedIndex() == 1) return wording.arg(first);
    return wording;
  }
  return english;
}
