#pragma once
// The game's sentences in the player's language: each GameText worded through
// the game's translations (context "GameText"), with its plurals; its reason
// is worded by ReasonWording, titles and names among its words stay as they
// are. With the English plural forms installed and no other language, the
// wording is exactly EnglishText's.

#include <QString>
#include <vector>

#include "play/game_text.h"

/// The sentence in the language of the installed translations.
QString GameWording(const GameText& text);

/// The sentences, joined by the separator.
QString GameWording(const std::vector<GameText>& texts, const QString& separator);
