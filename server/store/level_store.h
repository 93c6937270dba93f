#pragma once
// What the site keeps: published levels and sets, visitors' reports, and
// the gallery's pages read by key. Everything handed in here is checked
// already (server/publishing.h); this room only stores and reads it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/store/database.h"

struct PublishedLevel {
  std::string code;  // canonical
  int boardSize = 0;
  int moves = 0;  // of a shortest solution
  int grade = 0;
  std::string title;
  std::string author;  // may be empty
  std::string description;
  std::int64_t published = 0;  // seconds since 1970
  bool hidden = false;
};

struct PublishedSetLevel {
  std::string code;  // canonical
  std::string title;
};

struct PublishedSet {
  std::string id;
  std::string title;
  std::string author;
  std::string description;
  std::int64_t published = 0;
  bool hidden = false;
  std::vector<PublishedSetLevel> levels;  // in order
};

/// A level to publish: the level's facts and text, and its edit token's hash.
struct LevelSubmission {
  PublishedLevel level;
  std::string tokenHash;
};

struct PublishOutcome {
  /// False when the level was there already: `level` is then the one stored.
  bool stored = false;
  PublishedLevel level;
};

/// A set to publish; each of its levels not yet published is published with
/// it, under the set's author and token.
struct SetSubmission {
  PublishedSet set;                    // without its id, which the store gives
  std::vector<PublishedLevel> levels;  // the facts of each level of set.levels, in order
  std::string tokenHash;
};

enum class Removal { Removed, NotFound, WrongToken, InSet };

/// The gallery's orders: each reads its column descending, then the code.
/// Rating is the players' rating (hardest for people first), popularity the
/// likes less the dislikes; a level nobody played has the starting figures.
enum class GalleryOrder { Newest, Longest, Grade, Rating, Popularity };

/// Where a page of the gallery starts: after the level with this value of
/// the order's column and this code.
struct GalleryKey {
  std::int64_t value = 0;
  std::string code;
};

struct GalleryPage {
  std::vector<PublishedLevel> levels;
  /// The key of the next page; nullopt on the last page.
  std::optional<GalleryKey> next;
};

struct SetsPage {
  std::vector<PublishedSet> sets;  // without their levels
  std::optional<GalleryKey> next;  // value: published; code: the set's id
};

struct Report {
  std::string code;
  std::string reason;
  std::int64_t reported = 0;
};

class LevelStore {
 public:
  explicit LevelStore(Database& database) : m_db(database) {}

  /// Stores the level unless a level with its canonical code is there.
  PublishOutcome PublishLevel(const LevelSubmission& submission);
  /// The level, hidden or not; nullopt when none has the code.
  std::optional<PublishedLevel> FindLevel(const std::string& code);
  /// Removes the level when the token's hash is its own and no set holds it.
  Removal RemoveLevel(const std::string& code, const std::string& tokenHash);

  /// Stores the set under `id` (a fresh random id), with its levels not yet published.
  void PublishSet(const std::string& id, const SetSubmission& submission);
  std::optional<PublishedSet> FindSet(const std::string& id);
  /// Removes the set, and the levels published with it that no other set holds.
  Removal RemoveSet(const std::string& id, const std::string& tokenHash);
  /// The published sets that hold the level, visible ones only.
  std::vector<PublishedSet> SetsHolding(const std::string& code);

  /// The visible levels of one page of the gallery.
  GalleryPage Gallery(GalleryOrder order, const std::optional<GalleryKey>& after, int count);
  /// The visible sets, newest first, by key.
  SetsPage Sets(const std::optional<GalleryKey>& after, int count);

  /// Records a visitor's report; false when the level does not exist.
  /// A second report of one reporter on one level replaces the first.
  bool AddReport(const std::string& code, const std::string& reporter, const std::string& reason,
                 std::int64_t when);
  /// Every report, newest first.
  std::vector<Report> Reports();
  /// Hides or shows a level (the administrator's); false when there is none.
  bool SetHidden(const std::string& code, bool hidden);
  /// Removes a level whatever its token, from the sets that hold it too.
  bool RemoveLevelAsAdministrator(const std::string& code);

 private:
  Database& m_db;
};
