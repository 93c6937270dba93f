#include "server/gallery_pages.h"

#include "korvalo_constants.h"

namespace {

std::string MovesText(int count) {
  return std::to_string(count) + (count == 1 ? " move" : " moves");
}

std::string SizeText(int n) { return std::to_string(n) + " x " + std::to_string(n); }

std::string ByAuthor(const std::string& author) {
  return author.empty() ? std::string() : " by " + EscapeHtml(author);
}

/// The scripts a store page loads: none, the page script alone (the entry's
/// report), or the page script with the game module (a set's player).
enum class Scripts { None, Page, Player };

std::string PageStart(std::string_view title, std::string_view bodyAttributes, Scripts scripts) {
  std::string head =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>" +
      EscapeHtml(title) + "</title>\n<link rel=\"icon\" href=\"" + std::string(AssetPath) +
      "images/icon.png\">\n<link rel=\"stylesheet\" href=\"" + std::string(AssetPath) +
      "page.css\">\n";
  if (scripts == Scripts::Player) {
    head += "<noscript><link rel=\"stylesheet\" href=\"" + std::string(AssetPath) +
            "noscript.css\"></noscript>\n<script src=\"" + std::string(AssetPath) +
            "korvalo_web.js\" defer></script>\n";
  }
  if (scripts != Scripts::None)
    head += "<script src=\"" + std::string(AssetPath) + "play.js\" defer></script>\n";
  return head + "</head>\n<body " + std::string(bodyAttributes) + ">\n";
}

/// Like and dislike, once per session, shown by the page script.
std::string VoteButtons() {
  return "<p id=\"votes\" class=\"votes\" hidden><button type=\"button\" id=\"like\">Like"
         "</button> <button type=\"button\" id=\"dislike\">Dislike</button> "
         "<span id=\"vote-outcome\" aria-live=\"polite\"></span></p>\n";
}

/// The form that reports a level, shown by the page script (it posts JSON to
/// the API; the site's policy allows no plain form).
std::string ReportForm() {
  return "<section id=\"report\" class=\"report\" hidden>\n<h2>Report this level</h2>\n"
         "<p><label for=\"report-reason\">What is wrong with it (at most 500 "
         "characters)?</label></p>\n"
         "<p><textarea id=\"report-reason\" rows=\"3\" cols=\"50\" "
         "maxlength=\"500\"></textarea></p>\n"
         "<p><button type=\"button\" id=\"report-send\">Send the report</button> "
         "<span id=\"report-outcome\" aria-live=\"polite\"></span></p>\n</section>\n";
}

std::string PageEnd() { return Footer() + "</body>\n</html>\n"; }

std::string GalleryNavigation(std::string_view current) {
  // Appended piece by piece: GCC 12 at -O3 takes a chain of + for a possible
  // overlap of the copies (-Wrestrict).
  std::string nav = "<nav class=\"gallery-views\" aria-label=\"Gallery\"><ul>";
  for (const GalleryView& view : GalleryViews) {
    nav += "<li><a href=\"";
    nav += GalleryAddress(view.name);
    nav += '"';
    if (view.name == current) nav += " aria-current=\"page\"";
    nav += '>';
    nav += view.caption;
    nav += "</a></li>";
  }
  nav += "</ul></nav>\n";
  return nav;
}

/// The level's picture; `alt` empty where the text beside it names the level.
std::string Picture(const std::string& code, int width, std::string_view alt = "") {
  return "<img class=\"thumbnail\" src=\"" + EscapeHtml(PictureAddress("", code)) + "\" width=\"" +
         std::to_string(width) + "\" height=\"" + std::to_string(width * 359 / 325) + "\" alt=\"" +
         std::string(alt) + "\" loading=\"lazy\">";
}

std::string LevelItem(const PublishedLevel& level, const LevelFigures& figures) {
  return "<li class=\"entry\"><a href=\"" + EscapeHtml(EntryAddress("", level.code)) + "\">" +
         Picture(level.code, 108) + "<span class=\"entry-title\">" + EscapeHtml(level.title) +
         "</span></a><span class=\"entry-facts\">" + SizeText(level.boardSize) + " &middot; " +
         MovesText(level.moves) + ByAuthor(level.author) + "</span><span class=\"entry-figures\">" +
         FiguresText(figures) + "</span></li>\n";
}

std::string Plural(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string Duration(int seconds) {
  const std::string rest = std::to_string(seconds % 60);
  return std::to_string(seconds / 60) + ":" + (rest.size() == 1 ? "0" : "") + rest;
}

std::string NextLink(std::string_view view, const std::optional<GalleryKey>& next) {
  if (!next) return "<p class=\"gallery-end\">That is all.</p>\n";
  return "<p class=\"gallery-next\"><a rel=\"next\" href=\"" +
         EscapeHtml(GalleryAddress(view, next)) + "\">More</a></p>\n";
}

std::string GalleryStart(std::string_view view, bool first) {
  std::string title = "Korvalo gallery";
  for (const GalleryView& each : GalleryViews)
    if (each.name == view) title += ": " + std::string(each.caption);
  return PageStart(title, "class=\"gallery-page\"", Scripts::None) + "<header><h1>" +
         EscapeHtml(title) +
         "</h1><p class=\"size\">Levels people made and published, to play in the browser.</p>"
         "</header>\n" +
         GalleryNavigation(view) + "<main>\n" +
         (first ? std::string()
                : "<p><a href=\"" + GalleryAddress(view) + "\">Back to the start</a></p>\n");
}

}  // namespace

std::string EntryAddress(const std::string& site, const std::string& code) {
  std::string address = site;
  address += "/levels/";
  address += code;
  return address;
}

std::string SetAddress(const std::string& site, const std::string& id) {
  std::string address = site;
  address += "/sets/";
  address += id;
  return address;
}

std::string GalleryAddress(std::string_view view, const std::optional<GalleryKey>& after) {
  std::string address = "/gallery";
  if (view != GalleryViews[0].name || after) {
    address += "?order=";
    address += view;
  }
  if (after) address += "&after=" + std::to_string(after->value) + "." + after->code;
  return address;
}

std::string FiguresText(const LevelFigures& figures) {
  if (figures.plays == 0)
    return "Not played yet" + (figures.likes + figures.dislikes == 0
                                   ? std::string()
                                   : " &middot; " + Plural(figures.likes, "like", "likes") + ", " +
                                         Plural(figures.dislikes, "dislike", "dislikes"));
  std::string text = Plural(figures.plays, "play", "plays") + " &middot; " +
                     std::to_string(static_cast<int>(figures.SolvedFirst() * 100.0 + 0.5)) +
                     "% solved at the first try";
  if (figures.medianSeconds) text += " &middot; median time " + Duration(*figures.medianSeconds);
  text += " &middot; rating " + std::to_string(static_cast<int>(figures.rating.rating + 0.5));
  if (!IsSettled(figures.rating)) text += " (provisional)";
  return text + " &middot; " + Plural(figures.likes, "like", "likes") + ", " +
         Plural(figures.dislikes, "dislike", "dislikes");
}

std::string GalleryLevelsPage(std::string_view view, const GalleryPage& page,
                              const std::vector<LevelFigures>& figures, bool first) {
  std::string html = GalleryStart(view, first);
  if (page.levels.empty())
    html += "<p>No level is published yet.</p>\n";
  else
    html += "<ol class=\"entries\">\n";
  for (std::size_t i = 0; i < page.levels.size(); ++i)
    html += LevelItem(page.levels[i], i < figures.size() ? figures[i] : LevelFigures{});
  if (!page.levels.empty()) html += "</ol>\n";
  return html + NextLink(view, page.next) + "</main>\n" + PageEnd();
}

std::string GallerySetsPage(const SetsPage& page, bool first) {
  std::string html = GalleryStart("sets", first);
  if (page.sets.empty())
    html += "<p>No set is published yet.</p>\n";
  else
    html += "<ol class=\"entries sets\">\n";
  for (const PublishedSet& set : page.sets)
    html += "<li class=\"entry\"><a href=\"" + EscapeHtml(SetAddress("", set.id)) +
            "\"><span class=\"entry-title\">" + EscapeHtml(set.title) +
            "</span></a><span class=\"entry-facts\">" + ByAuthor(set.author) + "</span>" +
            (set.description.empty()
                 ? std::string()
                 : "<span class=\"entry-text\">" + EscapeHtml(set.description) + "</span>") +
            "</li>\n";
  if (!page.sets.empty()) html += "</ol>\n";
  return html + NextLink("sets", page.next) + "</main>\n" + PageEnd();
}

std::string EntryPage(const PublishedLevel& level, const std::vector<PublishedSet>& sets,
                      const LevelFigures& figures) {
  std::string html = PageStart(level.title + " - Korvalo level",
                               "class=\"entry-page\" data-code=\"" + EscapeHtml(level.code) + "\"",
                               Scripts::Page) +
                     "<header><h1>" + EscapeHtml(level.title) + "</h1><p class=\"size\">" +
                     SizeText(level.boardSize) + " &middot; shortest solution " +
                     MovesText(level.moves) + ByAuthor(level.author) +
                     "</p></header>\n<main>\n<p><a href=\"" +
                     EscapeHtml(LevelAddress("", level.code)) + "\">" +
                     Picture(level.code, 325, "The level's board: play it") + "</a></p>\n";
  html += "<p class=\"entry-figures\">" + FiguresText(figures) + "</p>\n";
  if (!level.description.empty())
    html += "<p class=\"entry-text\">" + EscapeHtml(level.description) + "</p>\n";
  html += "<p class=\"play-link\"><a href=\"" + EscapeHtml(LevelAddress("", level.code)) +
          "\">Play this level</a></p>\n";
  if (!sets.empty()) {
    html += "<h2>In the sets</h2>\n<ul>\n";
    for (const PublishedSet& set : sets)
      html += "<li><a href=\"" + EscapeHtml(SetAddress("", set.id)) + "\">" +
              EscapeHtml(set.title) + "</a>" + ByAuthor(set.author) + "</li>\n";
    html += "</ul>\n";
  }
  html += "<p>Level code <code>" + EscapeHtml(level.code) + "</code> &middot; <a href=\"" +
          GalleryAddress("newest") + "\">The gallery</a></p>\n" + VoteButtons() + ReportForm() +
          "</main>\n";
  return html + PageEnd();
}

std::string SetPage(const PublishedSet& set, const LevelFacts& first) {
  std::string codes;
  for (const PublishedSetLevel& level : set.levels)
    codes += (codes.empty() ? "" : " ") + level.code;
  std::string html =
      PageStart(set.title + " - Korvalo level set",
                "class=\"set-page\" data-code=\"" + EscapeHtml(first.code) + "\" data-assets=\"" +
                    std::string(AssetPath) + "\" data-set=\"" + EscapeHtml(set.id) +
                    "\" data-codes=\"" + EscapeHtml(codes) + "\"",
                Scripts::Player) +
      "<header><h1>" + EscapeHtml(set.title) + "</h1><p class=\"size\">A set of " +
      std::to_string(set.levels.size()) + (set.levels.size() == 1 ? " level" : " levels") +
      ByAuthor(set.author) + "</p></header>\n<main>\n";
  if (!set.description.empty())
    html += "<p class=\"entry-text\">" + EscapeHtml(set.description) + "</p>\n";
  html += "<p id=\"set-progress\" class=\"set-progress\" aria-live=\"polite\">Level 1 of " +
          std::to_string(set.levels.size()) + ": " +
          EscapeHtml(set.levels.empty() ? std::string() : set.levels[0].title) + "</p>\n" +
          PlayArea(first) +
          "<p class=\"set-actions\"><button type=\"button\" id=\"set-previous\" hidden>Previous "
          "level</button> <button type=\"button\" id=\"set-next\" hidden>Next level</button></p>\n"
          "<h2>The levels</h2>\n<ol class=\"set-levels\">\n";
  for (std::size_t i = 0; i < set.levels.size(); ++i)
    html += "<li data-code=\"" + EscapeHtml(set.levels[i].code) + "\"><a href=\"" +
            EscapeHtml(LevelAddress("", set.levels[i].code)) + "\">" +
            EscapeHtml(set.levels[i].title) + "</a> <span class=\"set-solved\"></span></li>\n";
  return html + "</ol>\n</main>\n" + PageEnd();
}

std::string StoreMessagePage(std::string_view title, std::string_view text) {
  return PageStart(title, "class=\"message-page\"", Scripts::None) + "<main>\n<h1>" +
         EscapeHtml(title) + "</h1>\n<p id=\"reason\">" + EscapeHtml(text) + "</p>\n<p><a href=\"" +
         GalleryAddress("newest") + "\">The gallery</a></p>\n</main>\n" + PageEnd();
}
