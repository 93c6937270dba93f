#pragma once
// The names of the difficulty grades (logic/level_grade.h) in the user's
// language, shared by designer mode and the game.

#include <QString>

#include "logic/level_grade.h"

/// "Easy", "Normal", "Hard", "Expert", translated (context "Grade").
QString GradeWord(Grade grade);
