// The store against both databases: the schema's migrations (also from
// several workers at once), transactions, publishing and removing levels and
// sets, the gallery's pages by key, reports and the administrator's hiding.

#include "server/store/level_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "server/store/migrations.h"
#include "tests/server/store_databases.h"

namespace {

class StoreTest : public testing::TestWithParam<Backend> {
 protected:
  StoreTest() : m_fresh(GetParam()), m_db(OpenDatabase(m_fresh.locator())), m_store(*m_db) {
    Migrate(*m_db);
  }

  static PublishedLevel Level(const std::string& code, int moves, std::int64_t published,
                              const std::string& title = "A level") {
    PublishedLevel level;
    level.code = code;
    level.boardSize = 5;
    level.moves = moves;
    level.grade = moves;
    level.title = title;
    level.description = "";
    level.published = published;
    return level;
  }

  PublishOutcome Publish(const PublishedLevel& level, const std::string& tokenHash = "hash") {
    return m_store.PublishLevel({level, tokenHash});
  }

  FreshDatabase m_fresh;
  std::unique_ptr<Database> m_db;
  LevelStore m_store;
};

TEST_P(StoreTest, MigratesOnceAndKeepsItsVersion) {
  const int newest = Migrations().back().version;
  EXPECT_EQ(Migrate(*m_db), newest);
  auto again = OpenDatabase(m_fresh.locator());
  EXPECT_EQ(Migrate(*again), newest);
  EXPECT_EQ(m_db->Run("SELECT COUNT(*) FROM schema_migrations")[0].Int(0), newest);
  // What the health check and the metrics read.
  EXPECT_FALSE(m_db->HealthProblem());
  EXPECT_GT(m_db->TimeSpent().count(), 0);
}

TEST_P(StoreTest, WorkersStartingAtOnceMigrateTheSameFreshDatabase) {
  FreshDatabase fresh(GetParam());
  std::vector<std::thread> workers;
  std::vector<std::string> failures(6);
  for (std::size_t i = 0; i < failures.size(); ++i)
    workers.emplace_back([&, i] {
      try {
        auto own = OpenDatabase(fresh.locator());
        Migrate(*own);
      } catch (const std::exception& error) {
        failures[i] = error.what();
      }
    });
  for (std::thread& worker : workers) worker.join();
  for (const std::string& failure : failures) EXPECT_EQ(failure, "");
  auto db = OpenDatabase(fresh.locator());
  EXPECT_EQ(db->Run("SELECT COUNT(*) FROM schema_migrations")[0].Int(0),
            Migrations().back().version);
}

TEST_P(StoreTest, RefusesASchemaNewerThanItKnows) {
  m_db->Run("INSERT INTO schema_migrations (version, applied) VALUES (?, 0)", {std::int64_t{999}});
  try {
    Migrate(*m_db);
    FAIL() << "a newer schema was taken";
  } catch (const DatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("newer"), std::string::npos) << error.what();
  }
}

TEST_P(StoreTest, AFailedTransactionLeavesNothingBehind) {
  EXPECT_THROW(m_db->WriteTransaction([&] {
    m_db->Run("INSERT INTO reports (code, reporter, reason, reported) VALUES ('x', 'y', 'z', 0)");
    throw std::runtime_error("stop");
  }),
               std::runtime_error);
  EXPECT_EQ(m_db->Run("SELECT COUNT(*) FROM reports")[0].Int(0), 0);
  // A broken statement rolls back too, and the connection goes on working.
  EXPECT_THROW(m_db->WriteTransaction([&] {
    m_db->Run("INSERT INTO reports (code, reporter, reason, reported) VALUES ('x', 'y', 'z', 0)");
    m_db->Run("INSERT INTO nowhere VALUES (1)");
  }),
               DatabaseError);
  EXPECT_EQ(m_db->Run("SELECT COUNT(*) FROM reports")[0].Int(0), 0);
  EXPECT_FALSE(m_db->HealthProblem());
}

TEST_P(StoreTest, TextTravelsAsParametersWhateverItHolds) {
  const std::string hostile = "x'); DROP TABLE levels; -- ? $1 \"quoted\" \xc3\xa9";
  Publish(Level("5b", 3, 1, hostile));
  ASSERT_TRUE(m_store.FindLevel("5b"));
  EXPECT_EQ(m_store.FindLevel("5b")->title, hostile);
}

TEST_P(StoreTest, ALevelIsStoredOnceUnderItsCode) {
  const PublishOutcome first = Publish(Level("5c", 7, 100, "First"));
  EXPECT_TRUE(first.stored);
  const PublishOutcome second = Publish(Level("5c", 7, 200, "Second"), "other");
  EXPECT_FALSE(second.stored);
  EXPECT_EQ(second.level.title, "First");
  EXPECT_EQ(second.level.published, 100);
  EXPECT_FALSE(m_store.FindLevel("5d"));
}

TEST_P(StoreTest, RemovingALevelNeedsItsTokenAndNoSet) {
  Publish(Level("5e", 4, 1), "mine");
  Publish(Level("5f", 4, 1), "mine");
  m_store.PublishSet(
      "s1", {{"s1", "Set", "", "", 2, false, {{"5f", "In a set"}}}, {Level("5f", 4, 1)}, "mine"});
  struct Case {
    const char* code;
    const char* token;
    Removal expected;
  } cases[] = {
      {"5e", "theirs", Removal::WrongToken},
      {"5e", "mine", Removal::Removed},
      {"5e", "mine", Removal::NotFound},
      {"5f", "mine", Removal::InSet},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " " + c.token);
    EXPECT_EQ(m_store.RemoveLevel(c.code, c.token), c.expected);
  }
  EXPECT_TRUE(m_store.FindLevel("5f"));
}

TEST_P(StoreTest, ASetKeepsItsLevelsInOrderAndTakesAwayOnlyItsOwn) {
  Publish(Level("5g", 3, 1), "earlier");
  const PublishedSet set{
      "", "Set", "A. Designer", "Two levels", 5, false, {{"5h", "New"}, {"5g", "Already there"}}};
  m_store.PublishSet("s2", {set, {Level("5h", 6, 5), Level("5g", 3, 5)}, "set token"});
  const auto found = m_store.FindSet("s2");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->author, "A. Designer");
  ASSERT_EQ(found->levels.size(), 2u);
  EXPECT_EQ(found->levels[0].code, "5h");
  EXPECT_EQ(found->levels[1].title, "Already there");
  EXPECT_EQ(m_store.SetsHolding("5g").size(), 1u);

  EXPECT_EQ(m_store.RemoveSet("s2", "earlier"), Removal::WrongToken);
  EXPECT_EQ(m_store.RemoveSet("s2", "set token"), Removal::Removed);
  EXPECT_FALSE(m_store.FindSet("s2"));
  EXPECT_FALSE(m_store.FindLevel("5h"));  // came with the set
  EXPECT_TRUE(m_store.FindLevel("5g"));   // was there before it
}

TEST_P(StoreTest, GalleryPagesByKeyCoverEveryVisibleLevelOnceInOrder) {
  // Many ties in each order, so that the code must break them.
  for (int i = 0; i < 23; ++i) {
    char code[8];
    std::snprintf(code, sizeof code, "7%02d", i);
    Publish(Level(code, 10 + i % 4, 1000 + i % 5));
  }
  m_store.SetHidden("703", true);
  for (GalleryOrder order : {GalleryOrder::Newest, GalleryOrder::Longest, GalleryOrder::Grade}) {
    std::vector<PublishedLevel> seen;
    std::optional<GalleryKey> after;
    int pages = 0;
    do {
      const GalleryPage page = m_store.Gallery(order, after, 5);
      seen.insert(seen.end(), page.levels.begin(), page.levels.end());
      after = page.next;
      ++pages;
    } while (after && pages < 20);
    EXPECT_EQ(pages, 5);
    ASSERT_EQ(seen.size(), 22u);
    const auto value = [order](const PublishedLevel& level) {
      return order == GalleryOrder::Newest ? level.published : level.moves;
    };
    std::set<std::string> codes;
    for (std::size_t i = 0; i < seen.size(); ++i) {
      codes.insert(seen[i].code);
      EXPECT_NE(seen[i].code, "703");
      if (i == 0) continue;
      const bool ordered =
          value(seen[i - 1]) > value(seen[i]) ||
          (value(seen[i - 1]) == value(seen[i]) && seen[i - 1].code < seen[i].code);
      EXPECT_TRUE(ordered) << seen[i - 1].code << " before " << seen[i].code;
    }
    EXPECT_EQ(codes.size(), 22u);
  }
}

TEST_P(StoreTest, SetsPageByKey) {
  for (int i = 0; i < 5; ++i)
    m_store.PublishSet("set" + std::to_string(i),
                       {{"", "Set", "", "", 100 + i / 2, false, {}}, {}, "t"});
  const SetsPage first = m_store.Sets(std::nullopt, 3);
  ASSERT_EQ(first.sets.size(), 3u);
  EXPECT_EQ(first.sets[0].id, "set4");
  ASSERT_TRUE(first.next);
  const SetsPage second = m_store.Sets(first.next, 3);
  ASSERT_EQ(second.sets.size(), 2u);
  EXPECT_EQ(second.sets[1].id, "set1");
  EXPECT_FALSE(second.next);
}

TEST_P(StoreTest, ReportsHidingAndTheAdministratorsRemoval) {
  Publish(Level("5i", 3, 1));
  m_store.PublishSet("s3",
                     {{"", "Set", "", "", 2, false, {{"5i", "One"}}}, {Level("5i", 3, 1)}, "t"});
  EXPECT_TRUE(m_store.AddReport("5i", "reporter a", "rude title", 10));
  EXPECT_TRUE(m_store.AddReport("5i", "reporter a", "rude title, really", 11));
  EXPECT_TRUE(m_store.AddReport("5i", "reporter b", "copied", 12));
  EXPECT_FALSE(m_store.AddReport("5z", "reporter a", "no such level", 13));
  const std::vector<Report> reports = m_store.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].reason, "copied");
  EXPECT_EQ(reports[1].reason, "rude title, really");

  EXPECT_TRUE(m_store.SetHidden("5i", true));
  EXPECT_TRUE(m_store.FindLevel("5i")->hidden);
  EXPECT_TRUE(m_store.Gallery(GalleryOrder::Newest, std::nullopt, 10).levels.empty());
  EXPECT_FALSE(m_store.SetHidden("5z", true));

  EXPECT_TRUE(m_store.RemoveLevelAsAdministrator("5i"));
  EXPECT_FALSE(m_store.FindLevel("5i"));
  EXPECT_TRUE(m_store.FindSet("s3")->levels.empty());
  EXPECT_TRUE(m_store.Reports().empty());
  EXPECT_FALSE(m_store.RemoveLevelAsAdministrator("5i"));
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         BackendName());

class EarlierSchemaTest : public testing::TestWithParam<Backend> {};

TEST_P(EarlierSchemaTest, SeveralFirstAttemptsOfASessionBecomeOneWhenTheSchemaIsBroughtUpToDate) {
  // A database at version 2, where two pages of a session sending at once
  // could both store a first attempt.
  FreshDatabase fresh(GetParam());
  auto db = OpenDatabase(fresh.locator());
  db->Run("CREATE TABLE schema_migrations (version INTEGER PRIMARY KEY, applied BIGINT NOT NULL)");
  for (const Migration& migration : Migrations()) {
    if (migration.version > 2) break;
    for (std::string_view statement : migration.statements) db->Run(statement);
    db->Run("INSERT INTO schema_migrations (version, applied) VALUES (?, 0)",
            {std::int64_t{migration.version}});
  }
  db->Run(
      "INSERT INTO levels (code, board_size, moves, grade, title, author, description, "
      "token_hash, published) VALUES ('3a', 3, 2, 2, 't', '', '', 'h', 1)");
  db->Run(
      "INSERT INTO level_figures (code, plays, first_plays, first_solved, rating, deviation, "
      "volatility) VALUES ('3a', 3, 3, 1, 1500000, 350000, 60000)");
  // Three records of one session stored at once, all marked first; the
  // earliest solved the level.
  for (int solved : {1, 0, 0})
    db->Run(
        "INSERT INTO attempts (level, session, first_attempt, solved, moves, undos, hints, "
        "restarts, seconds, version) VALUES ('3a', 's', 1, ?, '', 0, 0, 0, 5, 'v')",
        {std::int64_t{solved}});

  EXPECT_EQ(Migrate(*db), Migrations().back().version);
  EXPECT_EQ(db->Run("SELECT COUNT(*) FROM attempts WHERE first_attempt = 1")[0].Int(0), 1);
  EXPECT_EQ(db->Run("SELECT COUNT(*) FROM attempts")[0].Int(0), 3);
  const DbRows figures =
      db->Run("SELECT plays, first_plays, first_solved FROM level_figures WHERE code = '3a'");
  ASSERT_EQ(figures.size(), 1u);
  EXPECT_EQ(figures[0].Int(0), 3);
  EXPECT_EQ(figures[0].Int(1), 1);
  EXPECT_EQ(figures[0].Int(2), 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, EarlierSchemaTest,
                         testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName());

TEST(DatabaseOpening, NamesWhatItCannotOpen) {
  EXPECT_THROW(OpenDatabase(""), DatabaseError);
  EXPECT_THROW(OpenDatabase("/nonexistent-folder/korvalo.sqlite"), DatabaseError);
  EXPECT_THROW(OpenDatabase("postgresql://nobody@/none?host=/nonexistent-folder"), DatabaseError);
}

}  // namespace

TEST(SqliteLog, IsCopiedIntoTheFileAndStartedAnewWhileWorkersWrite) {
  // Checkpoints run on their own thread; were they to do nothing, the file
  // would never hold the rows and the log would grow without end.
  FreshDatabase fresh(Backend::SQLite);
  auto db = OpenDatabase(fresh.locator());
  db->Run("CREATE TABLE rows (text TEXT NOT NULL)");
  const auto write = [&](int rows) {
    for (int i = 0; i < rows; ++i)
      db->WriteTransaction(
          [&] { db->Run("INSERT INTO rows (text) VALUES (?)", {std::string(2000, 'x')}); });
  };
  write(200);
  const auto fileSize = [&](const std::string& suffix) {
    std::error_code ignored;
    return std::filesystem::file_size(fresh.locator() + suffix, ignored);
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (fileSize("") < 200 * 2000 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_GE(fileSize(""), 200u * 2000u);
  // Copied whole, the log starts again from its beginning: more rows than
  // before leave it no longer than twice what it was.
  const auto log = fileSize("-wal");
  for (int round = 0; round < 5; ++round) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    write(200);
  }
  EXPECT_LE(fileSize("-wal"), 2 * log);
}
