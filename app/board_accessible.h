#pragma once
// What a screen reader learns of designer mode's board: an accessible
// interface (AT-SPI on Linux) whose name says where the keyboard cursor
// stands and whose description gives the whole level and its verdict, with
// the events that tell a screen reader when either changes.

#include <QString>
#include <optional>

#include "drawing/editing_state.h"
#include "editing/editor_document.h"
#include "logic/level.h"

class QPoint;

/// Installs the interface factory for the board view, once per program.
void InstallBoardAccessibility();

/// "Board, cursor on column 2, row 3: walls north and east".
QString BoardCursorText(const Level& level, QPoint cursor);

/// The size, where each ball and hole stands, what is carried, and the verdict
/// as the status line gives it ("Shortest solution: 23 moves · ..."); the
/// verdict is null while a piece is carried.
QString BoardLevelText(const Level& level, const EditingState& editing, const Verdict* verdict);
