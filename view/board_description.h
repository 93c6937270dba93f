#pragma once
// The words a screen reader says for a board: its size and where each ball
// and hole stands. The editor and the game add what else they show.

#include <QString>

#include "logic/level.h"

/// "A 5 by 5 board. The red ball on column 1, row 3. The red hole on ...",
/// squares counted from 1 as people count them.
QString BoardPiecesText(const Level& level);

/// "column 2, row 3".
QString SquareText(int column, int row);

/// "red", as the colour stands between "the" and "ball" or "hole".
QString ColourWord(Colour colour);
