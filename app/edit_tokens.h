#pragma once
// The edit tokens of the levels the user published from designer mode, kept
// in the user's data folder (edit_tokens.tsv: the canonical code, the public
// address and the token, tab-separated, one level a line). The site keeps
// only the tokens' hashes: this file is the one place a token can be found
// again, to remove the level.

#include <QString>
#include <optional>

struct EditToken {
  QString code;  // canonical
  QString address;
  QString token;
};

/// The file the tokens are kept in.
QString EditTokensPath();

/// Adds or replaces the level's entry; the file is written whole or not at
/// all. False when it could not be written.
bool KeepEditToken(const EditToken& entry);

/// The entry of the level (by canonical code), when there is one.
std::optional<EditToken> FindEditToken(const QString& code);
