#pragma once
// The editor's icon, compiled into the program in its two sizes.

#include <QIcon>

QIcon EditorIcon();
