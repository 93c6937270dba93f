#pragma once
// The HTML the server answers with: the level page (full, or compact for a
// frame on another site) and the page that says why an address names no level.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Text made safe for HTML element content and quoted attribute values.
std::string EscapeHtml(std::string_view text);

/// The level's entry among the published levels.
struct PublishedLink {
  std::string address;  // of the entry's page
  std::string title;
};

/// What the page says about its level.
struct LevelFacts {
  std::string code;  // in its written form: hex digits only
  int boardSize = 0;
  std::optional<int> shortest;           // moves of a shortest solution; nullopt when none
  std::vector<std::string> statusLines;  // the game's status lines before the first move
  int areaWidth = 0;                     // the board area the page draws
  int areaHeight = 0;
  std::optional<PublishedLink> published;  // when the level is published
};

/// The address of the level's page, its picture and its compact page; `site`
/// is the site's public address ("https://host:port"), or empty for
/// addresses relative to the site.
std::string LevelAddress(const std::string& site, const std::string& code);
std::string PictureAddress(const std::string& site, const std::string& code);
std::string EmbedAddress(const std::string& site, const std::string& code);

/// The HTML that puts the playable level on another page.
std::string EmbedSnippet(const std::string& site, const LevelFacts& level);

/// The board with its tilt buttons, the status lines and the game's buttons,
/// as every page that plays a level shows them.
std::string PlayArea(const LevelFacts& level);

/// The footer of every page of the site.
std::string Footer();

/// The level's page. Without a site address its links are relative, and the
/// Open Graph address and picture and the Embed block, which need absolute
/// addresses, are left out.
std::string LevelPage(const LevelFacts& level, const std::string& site);
/// The compact page shown in the frame of EmbedSnippet.
std::string EmbeddedLevelPage(const LevelFacts& level, const std::string& site);

/// The page of a 400 answer; the reason is escaped.
std::string BadRequestPage(std::string_view reason);

/// The short page of a 301 answer: a link to the level's address.
std::string MovedPage(std::string_view target);

/// The page of a 405 answer.
std::string MethodNotAllowedPage();
