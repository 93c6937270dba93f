#pragma once
// The Korvalo icon of the editor's and the game's windows, compiled into the
// programs in its two sizes.

#include <QIcon>

QIcon KorvaloIcon();
