#include "server/pages.h"

#include <algorithm>

#include "korvalo_constants.h"

namespace {

/// The height, in CSS pixels, of what the compact page shows below its board's
/// grid: the three status lines, the buttons and the link, as page.css fixes it.
constexpr int EmbeddedTextHeight = 136;

std::string MovesText(int count) {
  return std::to_string(count) + (count == 1 ? " move" : " moves");
}

std::string SizeText(int n) { return std::to_string(n) + " x " + std::to_string(n); }

std::string Description(const LevelFacts& level) {
  const std::string size = "A " + SizeText(level.boardSize) + " Korvalo level";
  if (!level.shortest) return size + " without a solution. See for yourself in the browser.";
  if (*level.shortest == 0) return size + ", solved before the first move. Play it in the browser.";
  return size +
         ": tilt the board until every ball stands on its own hole. The shortest solution takes " +
         MovesText(*level.shortest) + ". Play it in the browser.";
}

std::string ShortestText(const LevelFacts& level) {
  if (!level.shortest) return "This level has no solution.";
  return "Shortest solution: " + MovesText(*level.shortest) + ".";
}

/// The link preview of the full page: its canonical address, and for link
/// previews its title, description and picture. The Open Graph address and
/// picture must be absolute, so they come only with the site's public address.
std::string LinkPreview(const LevelFacts& level, const std::string& site, const std::string& title,
                        const std::string& description) {
  std::string tags = "<link rel=\"canonical\" href=\"" +
                     EscapeHtml(LevelAddress(site, level.code)) +
                     "\">\n"
                     "<meta property=\"og:type\" content=\"website\">\n"
                     "<meta property=\"og:site_name\" content=\"Vandrel\">\n"
                     "<meta property=\"og:title\" content=\"" +
                     EscapeHtml(title) +
                     "\">\n"
                     "<meta property=\"og:description\" content=\"" +
                     EscapeHtml(description) + "\">\n";
  if (!site.empty()) {
    tags += "<meta property=\"og:url\" content=\"" + EscapeHtml(LevelAddress(site, level.code)) +
            "\">\n"
            "<meta property=\"og:image\" content=\"" +
            EscapeHtml(PictureAddress(site, level.code)) +
            "\">\n"
            "<meta property=\"og:image:type\" content=\"image/png\">\n"
            "<meta property=\"og:image:width\" content=\"325\">\n"
            "<meta property=\"og:image:height\" content=\"359\">\n"
            "<meta property=\"og:image:alt\" content=\"The " +
            SizeText(level.boardSize) +
            " board of the level with its three balls and three holes\">\n";
  }
  return tags + "<meta name=\"twitter:card\" content=\"summary\">\n";
}

/// The head both level pages share: the scripts and style sheet of the site only.
std::string Head(const LevelFacts& level, const std::string& site, bool linkPreview) {
  const std::string title = "Korvalo level " + level.code;
  const std::string description = Description(level);
  std::string head =
      "<head>\n"
      "<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>" +
      EscapeHtml(title) +
      "</title>\n"
      "<meta name=\"description\" content=\"" +
      EscapeHtml(description) + "\">\n";
  if (linkPreview) head += LinkPreview(level, site, title, description);
  head += "<link rel=\"icon\" href=\"" + std::string(AssetPath) +
          "images/icon.png\">\n"
          "<link rel=\"stylesheet\" href=\"" +
          std::string(AssetPath) +
          "page.css\">\n"
          // Without scripts the picture stands in for the board, and the controls go.
          "<noscript><link rel=\"stylesheet\" href=\"" +
          std::string(AssetPath) +
          "noscript.css\"></noscript>\n"
          "<script src=\"" +
          std::string(AssetPath) +
          "korvalo_web.js\" defer></script>\n"
          "<script src=\"" +
          std::string(AssetPath) +
          "play.js\" defer></script>\n"
          "</head>\n";
  return head;
}

std::string BodyStart(const LevelFacts& level, const char* pageClass) {
  // data-published: the player sends its attempts at the level to the site.
  return "<body class=\"" + std::string(pageClass) + "\" data-code=\"" + EscapeHtml(level.code) +
         "\" data-assets=\"" + std::string(AssetPath) + "\"" +
         (level.published ? " data-published=\"yes\"" : "") + ">\n";
}

/// The link to the level's published entry, when it has one.
std::string PublishedEntry(const LevelFacts& level) {
  if (!level.published) return {};
  return "<p id=\"published\">Published as <a href=\"" + EscapeHtml(level.published->address) +
         "\">" + EscapeHtml(level.published->title) + "</a>.</p>\n";
}

/// A short page with a heading and one paragraph of escaped text.
std::string MessagePage(std::string_view title, std::string_view text) {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
         "<title>" +
         EscapeHtml(title) +
         "</title>\n"
         "<link rel=\"icon\" href=\"" +
         std::string(AssetPath) +
         "images/icon.png\">\n"
         "<link rel=\"stylesheet\" href=\"" +
         std::string(AssetPath) +
         "page.css\">\n</head>\n"
         "<body class=\"message-page\">\n<main>\n<h1>" +
         EscapeHtml(title) +
         "</h1>\n"
         "<p id=\"reason\">" +
         EscapeHtml(text) +
         "</p>\n"
         "<p>A level address looks like <code>" +
         std::string(SharingPagePath) +
         "?s=5020100030201ffbfeffbfe55</code>. "
         "The Korvalo Level Editor makes one for the level it shows: Edit, Get HTML.</p>\n"
         "</main>\n" +
         Footer() + "</body>\n</html>\n";
}

/// The embed code to copy. Another site's frame needs the absolute address,
/// so the block comes only with the site's public address.
std::string EmbedSection(const LevelFacts& level, const std::string& site) {
  if (site.empty()) return {};
  return "<section class=\"embed\">\n<h2>Embed</h2>\n"
         "<p><label for=\"embed-code\">This HTML puts the level, playable, on another "
         "page:</label></p>\n"
         "<textarea id=\"embed-code\" class=\"copy-text\" readonly rows=\"4\" cols=\"60\">" +
         EscapeHtml(EmbedSnippet(site, level)) +
         "</textarea>\n"
         "<p><button type=\"button\" class=\"copy\" "
         "data-copy=\"embed-code\">Copy</button></p>\n</section>\n";
}

}  // namespace

std::string PlayArea(const LevelFacts& level) {
  std::string status;
  for (const std::string& line : level.statusLines) status += "<p>" + EscapeHtml(line) + "</p>";
  const std::string width = std::to_string(level.areaWidth),
                    height = std::to_string(level.areaHeight);
  return "<section class=\"play\" aria-label=\"The level\">\n"
         "<div class=\"board\">\n"
         "<button type=\"button\" class=\"tilt north\" data-direction=\"N\" aria-label=\"Tilt "
         "north\">&#9650;</button>\n"
         "<button type=\"button\" class=\"tilt west\" data-direction=\"W\" aria-label=\"Tilt "
         "west\">&#9664;</button>\n"
         "<canvas id=\"board\" width=\"" +
         width + "\" height=\"" + height +
         "\" tabindex=\"0\""
         " aria-label=\"The board: tilt it with the arrow keys, by swiping, or by clicking near an "
         "edge\"></canvas>\n"
         // Relative to the site, so that the page's own policy (img-src 'self')
         // lets it in whatever address the visitor used.
         "<noscript><img class=\"picture\" src=\"" +
         EscapeHtml(PictureAddress("", level.code)) +
         "\" width=\"325\" height=\"359\" alt=\"The board of the level\"></noscript>\n"
         "<button type=\"button\" class=\"tilt east\" data-direction=\"E\" aria-label=\"Tilt "
         "east\">&#9654;</button>\n"
         "<button type=\"button\" class=\"tilt south\" data-direction=\"S\" aria-label=\"Tilt "
         "south\">&#9660;</button>\n"
         "</div>\n"
         "<div id=\"status\" class=\"status\" aria-live=\"polite\">" +
         status +
         "</div>\n"
         "<div class=\"actions\">\n"
         "<button type=\"button\" id=\"undo\" title=\"Ctrl+Z or Backspace\">Undo</button>\n"
         "<button type=\"button\" id=\"restart\" title=\"R\">Restart</button>\n"
         "<button type=\"button\" id=\"hint\" title=\"H\">Hint</button>\n"
         "</div>\n"
         "<noscript><p class=\"notice\">Playing the level needs JavaScript; the picture shows "
         "it.</p></noscript>\n"
         "<p id=\"failure\" class=\"notice\" hidden></p>\n"
         "</section>\n";
}

std::string Footer() {
  return "<footer><a href=\"" + std::string(HomePagePath) +
         "\">Korvalo Level Editor</a> &middot; <a href=\"" + std::string(MakerSitePath) +
         "\">Vandrel</a></footer>\n";
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string LevelAddress(const std::string& site, const std::string& code) {
  // Appended in place: GCC 12 at -O3 takes the chain of + for a possible
  // overlap of the copies (-Wrestrict).
  std::string address = site;
  address += SharingPagePath;
  address += "?s=";
  address += code;
  return address;
}

std::string PictureAddress(const std::string& site, const std::string& code) {
  return LevelAddress(site, code) + "&png=1";
}

std::string EmbedAddress(const std::string& site, const std::string& code) {
  return LevelAddress(site, code) + "&embed=1";
}

std::string EmbedSnippet(const std::string& site, const LevelFacts& level) {
  // The compact page fills its frame: at this size the board shows at its own
  // pixels between its tilt buttons (2rem each side, 0.5rem of padding), over
  // the status lines, the buttons and the link (page.css). On a narrower page
  // the frame narrows and keeps its proportions, and the board shrinks.
  constexpr int besideBoard = 2 * 32 + 2 * 8;
  constexpr int belowBoard = 2 * 32 + 2 * 8 + EmbeddedTextHeight;
  const std::string width = std::to_string(level.areaWidth + besideBoard);
  const std::string height = std::to_string(level.areaHeight + belowBoard);
  return "<iframe src=\"" + EscapeHtml(EmbedAddress(site, level.code)) + "\" width=\"" + width +
         "\" height=\"" + height + "\" title=\"Korvalo level " + level.code +
         "\" loading=\"lazy\" style=\"display:block;border:0;width:100%;max-width:" + width +
         "px;height:auto;aspect-ratio:" + width + "/" + height + "\"></iframe>";
}

std::string LevelPage(const LevelFacts& level, const std::string& site) {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n" + Head(level, site, true) +
         BodyStart(level, "level-page") + "<header><h1>Korvalo level</h1><p class=\"size\">" +
         SizeText(level.boardSize) + " &middot; " + EscapeHtml(ShortestText(level)) +
         "</p></header>\n"
         "<main>\n" +
         PlayArea(level) +
         "<section class=\"facts\">\n<h2>The level</h2>\n"
         "<p>Tilt the board: every ball rolls one square that way unless a wall, or a ball that "
         "stays, is in its "
         "way. The level is solved when every ball stands on the hole of its own colour.</p>\n"
         "<p id=\"shortest\">" +
         EscapeHtml(ShortestText(level)) + "</p>\n" + PublishedEntry(level) +
         "<p><label for=\"code\">Level code</label> <input id=\"code\" class=\"copy-text\" "
         "readonly size=\"40\" value=\"" +
         EscapeHtml(level.code) +
         "\"> <button type=\"button\" class=\"copy\" data-copy=\"code\">Copy</button></p>\n"
         "<p>Paste the code into the Korvalo Level Editor (Edit, Copy) to change the level, or "
         "give it to the game "
         "<code>korvalo</code>.</p>\n</section>\n" +
         EmbedSection(level, site) + "</main>\n" + Footer() + "</body>\n</html>\n";
}

std::string EmbeddedLevelPage(const LevelFacts& level, const std::string& site) {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n" + Head(level, site, false) +
         BodyStart(level, "embedded-page") + "<main>\n" + PlayArea(level) +
         "<p class=\"source\"><a href=\"" + EscapeHtml(LevelAddress(site, level.code)) +
         "\" target=\"_blank\" rel=\"noopener\">Korvalo level</a> &middot; " +
         EscapeHtml(ShortestText(level)) + "</p>\n</main>\n</body>\n</html>\n";
}

std::string BadRequestPage(std::string_view reason) {
  return MessagePage("This address names no Korvalo level", reason);
}

std::string MovedPage(std::string_view target) {
  const std::string link = EscapeHtml(target);
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<title>Moved</title>\n</head>\n<body>\n<p>The level's address is <a href=\"" +
         link + "\">" + link + "</a>.</p>\n</body>\n</html>\n";
}

std::string MethodNotAllowedPage() {
  return MessagePage("Only GET and HEAD", "This address answers GET and HEAD requests only.");
}
