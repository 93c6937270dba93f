#pragma once
// A line of messages that a screen reader hears: over AT-SPI it is a status
// bar whose name and text are the line's text, and every change of the text
// sends the events a screen reader listens for (the name's property change
// and the text's deletion and insertion). Qt 6.4 has no announcement of its
// own, so the line is the way a message reaches a screen reader. Designer
// mode's status line and the game's lines under the board use it.

#include <QString>

class QLabel;

/// Makes the label a status line for screen readers; its text is then set
/// through SetStatusText.
void MakeStatusLine(QLabel* label);

/// Shows the text in the label and tells screen readers of the change. The
/// same text again is told again only when it is repeated on purpose (a
/// message the user brought about once more), not when a state is shown anew.
enum class Repeat { Silent, Told };
void SetStatusText(QLabel* label, const QString& text, Repeat repeat = Repeat::Silent);
