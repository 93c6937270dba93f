#pragma once
// The server-made pages of the published levels: the gallery (newest,
// longest, by grade, and the sets), a published level's entry and a set's
// page, which plays the set's levels in order. All work without scripts;
// every text from the store is escaped.

#include <optional>
#include <string>
#include <vector>

#include "server/pages.h"
#include "server/store/level_store.h"
#include "server/store/play_records.h"

/// The gallery's views, in the order of its navigation; `name` is the value
/// of its `order` parameter.
struct GalleryView {
  std::string_view name;
  std::string_view caption;
};
inline constexpr GalleryView GalleryViews[] = {
    {"newest", "Newest"},      {"longest", "Longest"},
    {"grade", "By grade"},     {"rating", "Hardest for people"},
    {"popular", "Most liked"}, {"sets", "Sets"},
};

/// The address of a published level's entry, of a set's page, of a gallery
/// view (after the given key: "VALUE.CODE"); `site` as for LevelAddress.
std::string EntryAddress(const std::string& site, const std::string& code);
std::string SetAddress(const std::string& site, const std::string& id);
std::string GalleryAddress(std::string_view view, const std::optional<GalleryKey>& after = {});

/// A page of levels of the gallery in one of the level views, with what
/// people made of each (`figures` in the order of the page's levels).
std::string GalleryLevelsPage(std::string_view view, const GalleryPage& page,
                              const std::vector<LevelFigures>& figures, bool first);
/// What people made of a level, in words: plays, the share solved at the
/// first attempt, the median solving time, the rating, likes.
std::string FiguresText(const LevelFigures& figures);
/// A page of the gallery's sets.
std::string GallerySetsPage(const SetsPage& page, bool first);
/// A published level's entry, with the sets that hold it.
std::string EntryPage(const PublishedLevel& level, const std::vector<PublishedSet>& sets,
                      const LevelFigures& figures);
/// A set's page: its first level on the board, and the list of its levels.
std::string SetPage(const PublishedSet& set, const LevelFacts& first);
/// A page that says what went wrong (404, 400, 503), escaped.
std::string StoreMessagePage(std::string_view title, std::string_view text);
