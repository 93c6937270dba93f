#pragma once
// Why a level code, a line of a set, a generation request or a set's file was
// not taken, in the user's language: the reason's English form translated
// (context "Reason"), with its arguments in their places.

#include <QString>

#include "logic/reason.h"

/// The reason in the language of the installed translations.
QString ReasonWording(const Reason& reason);
