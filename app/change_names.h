#pragma once
// The names of the changes that Undo and Redo take back or make again, as
// their menu items show them ("Undo Remove Level").

#include <QString>

#include "editing/history.h"

QString ChangeName(ChangeKind kind);
