#pragma once
// Why a level code, a line of a set, a generation request or a set's file was
// not taken, in the user's language. The standard-library rooms give their
// reasons in English; a reason of a known form is worded again through the
// translations (context "Reason"), with its numbers and words kept, and any
// other is shown as it is.

#include <QString>
#include <string>

/// The reason in the language of the installed translations.
QString ReasonWording(const std::string& reason);
