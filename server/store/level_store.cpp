#include "server/store/level_store.h"

#include <string_view>

namespace {

constexpr std::string_view LevelColumns =
    "code, board_size, moves, grade, title, author, description, published, hidden";

PublishedLevel LevelOf(const DbRow& row) {
  PublishedLevel level;
  level.code = row.Text(0);
  level.boardSize = static_cast<int>(row.Int(1));
  level.moves = static_cast<int>(row.Int(2));
  level.grade = static_cast<int>(row.Int(3));
  level.title = row.Text(4);
  level.author = row.Text(5);
  level.description = row.Text(6);
  level.published = row.Int(7);
  level.hidden = row.Int(8) != 0;
  return level;
}

constexpr std::string_view SetColumns = "id, title, author, description, published, hidden";

PublishedSet SetOf(const DbRow& row) {
  PublishedSet set;
  set.id = row.Text(0);
  set.title = row.Text(1);
  set.author = row.Text(2);
  set.description = row.Text(3);
  set.published = row.Int(4);
  set.hidden = row.Int(5) != 0;
  return set;
}

std::string Sql(std::initializer_list<std::string_view> parts) {
  std::string sql;
  for (std::string_view part : parts) sql += part;
  return sql;
}

/// The value each order reads; from this table only, never from a request.
/// The players' figures are joined as `figures`; 1500000 is the starting
/// rating in thousandths.
std::string_view OrderColumn(GalleryOrder order) {
  switch (order) {
    case GalleryOrder::Longest: return "levels.moves";
    case GalleryOrder::Grade: return "levels.grade";
    case GalleryOrder::Rating: return "COALESCE(figures.rating, 1500000)";
    case GalleryOrder::Popularity: return "COALESCE(figures.likes - figures.dislikes, 0)";
    case GalleryOrder::Newest: break;
  }
  return "levels.published";
}

/// Inserts the level unless its code is there; true when inserted.
bool InsertLevel(Database& db, const PublishedLevel& level, const std::string& tokenHash) {
  return !db.Run(
                "INSERT INTO levels (code, board_size, moves, grade, title, author, "
                "description, token_hash, published, hidden) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 0) "
                "ON CONFLICT (code) DO NOTHING RETURNING code",
                {level.code, std::int64_t{level.boardSize}, std::int64_t{level.moves},
                 std::int64_t{level.grade}, level.title, level.author, level.description, tokenHash,
                 level.published})
              .empty();
}

}  // namespace

PublishOutcome LevelStore::PublishLevel(const LevelSubmission& submission) {
  // The insert is one statement, a transaction by itself (one round trip to
  // PostgreSQL instead of three): it stores the level, or finds its code taken.
  for (;;) {
    if (InsertLevel(m_db, submission.level, submission.tokenHash)) return {true, submission.level};
    // Removed between the two statements: try the insert again.
    if (std::optional<PublishedLevel> there = FindLevel(submission.level.code))
      return {false, std::move(*there)};
  }
}

std::optional<PublishedLevel> LevelStore::FindLevel(const std::string& code) {
  const DbRows rows =
      m_db.Run(Sql({"SELECT ", LevelColumns, " FROM levels WHERE code = ?"}), {code});
  if (rows.empty()) return std::nullopt;
  return LevelOf(rows[0]);
}

Removal LevelStore::RemoveLevel(const std::string& code, const std::string& tokenHash) {
  Removal removal = Removal::NotFound;
  m_db.WriteTransaction([&] {
    const DbRows rows = m_db.Run("SELECT token_hash FROM levels WHERE code = ?", {code});
    if (rows.empty()) return;
    if (rows[0].Text(0) != tokenHash) {
      removal = Removal::WrongToken;
      return;
    }
    if (!m_db.Run("SELECT 1 FROM set_levels WHERE code = ? LIMIT 1", {code}).empty()) {
      removal = Removal::InSet;
      return;
    }
    m_db.Run("DELETE FROM levels WHERE code = ?", {code});
    removal = Removal::Removed;
  });
  return removal;
}

void LevelStore::PublishSet(const std::string& id, const SetSubmission& submission) {
  m_db.WriteTransaction([&] {
    const PublishedSet& set = submission.set;
    m_db.Run(
        "INSERT INTO sets (id, title, author, description, token_hash, published, hidden) "
        "VALUES (?, ?, ?, ?, ?, ?, 0)",
        {id, set.title, set.author, set.description, submission.tokenHash, set.published});
    for (std::size_t i = 0; i < set.levels.size(); ++i) {
      InsertLevel(m_db, submission.levels.at(i), submission.tokenHash);
      m_db.Run("INSERT INTO set_levels (set_id, position, code, title) VALUES (?, ?, ?, ?)",
               {id, static_cast<std::int64_t>(i), set.levels[i].code, set.levels[i].title});
    }
  });
}

std::optional<PublishedSet> LevelStore::FindSet(const std::string& id) {
  const DbRows rows = m_db.Run(Sql({"SELECT ", SetColumns, " FROM sets WHERE id = ?"}), {id});
  if (rows.empty()) return std::nullopt;
  PublishedSet set = SetOf(rows[0]);
  for (const DbRow& row :
       m_db.Run("SELECT code, title FROM set_levels WHERE set_id = ? ORDER BY position", {id}))
    set.levels.push_back({row.Text(0), row.Text(1)});
  return set;
}

Removal LevelStore::RemoveSet(const std::string& id, const std::string& tokenHash) {
  Removal removal = Removal::NotFound;
  m_db.WriteTransaction([&] {
    const DbRows rows = m_db.Run("SELECT token_hash FROM sets WHERE id = ?", {id});
    if (rows.empty()) return;
    if (rows[0].Text(0) != tokenHash) {
      removal = Removal::WrongToken;
      return;
    }
    m_db.Run("DELETE FROM set_levels WHERE set_id = ?", {id});
    m_db.Run("DELETE FROM sets WHERE id = ?", {id});
    m_db.Run(
        "DELETE FROM levels WHERE token_hash = ? AND NOT EXISTS "
        "(SELECT 1 FROM set_levels WHERE set_levels.code = levels.code)",
        {tokenHash});
    removal = Removal::Removed;
  });
  return removal;
}

std::vector<PublishedSet> LevelStore::SetsHolding(const std::string& code) {
  std::vector<PublishedSet> sets;
  for (const DbRow& row : m_db.Run(
           "SELECT DISTINCT sets.id, sets.title, sets.author, sets.description, sets.published, "
           "sets.hidden FROM sets JOIN set_levels ON set_levels.set_id = sets.id "
           "WHERE set_levels.code = ? AND sets.hidden = 0 ORDER BY sets.published DESC, sets.id",
           {code}))
    sets.push_back(SetOf(row));
  return sets;
}

GalleryPage LevelStore::Gallery(GalleryOrder order, const std::optional<GalleryKey>& after,
                                int count) {
  const std::string_view column = OrderColumn(order);
  std::string sql =
      Sql({"SELECT levels.code, board_size, moves, grade, title, author, description, "
           "published, hidden, ",
           column,
           " FROM levels LEFT JOIN level_figures figures ON figures.code = "
           "levels.code WHERE hidden = 0"});
  std::vector<DbValue> parameters;
  if (after) {
    sql += Sql({" AND (", column, " < ? OR (", column, " = ? AND levels.code > ?))"});
    parameters = {after->value, after->value, after->code};
  }
  sql += Sql({" ORDER BY ", column, " DESC, levels.code LIMIT ?"});
  // One row more than the page tells whether a next page exists.
  parameters.emplace_back(std::int64_t{count + 1});
  GalleryPage page;
  std::int64_t lastValue = 0;
  for (const DbRow& row : m_db.Run(sql, parameters)) {
    if (page.levels.size() == static_cast<std::size_t>(count)) {
      page.next = GalleryKey{lastValue, page.levels.back().code};
      break;
    }
    page.levels.push_back(LevelOf(row));
    lastValue = row.Int(9);
  }
  return page;
}

SetsPage LevelStore::Sets(const std::optional<GalleryKey>& after, int count) {
  std::string sql = Sql({"SELECT ", SetColumns, " FROM sets WHERE hidden = 0"});
  std::vector<DbValue> parameters;
  if (after) {
    sql += " AND (published < ? OR (published = ? AND id > ?))";
    parameters = {after->value, after->value, after->code};
  }
  sql += " ORDER BY published DESC, id LIMIT ?";
  parameters.emplace_back(std::int64_t{count + 1});
  SetsPage page;
  for (const DbRow& row : m_db.Run(sql, parameters)) page.sets.push_back(SetOf(row));
  if (page.sets.size() > static_cast<std::size_t>(count)) {
    page.sets.pop_back();
    page.next = GalleryKey{page.sets.back().published, page.sets.back().id};
  }
  return page;
}

bool LevelStore::AddReport(const std::string& code, const std::string& reporter,
                           const std::string& reason, std::int64_t when) {
  bool added = false;
  m_db.WriteTransaction([&] {
    if (m_db.Run("SELECT 1 FROM levels WHERE code = ?", {code}).empty()) return;
    m_db.Run(
        "INSERT INTO reports (code, reporter, reason, reported) VALUES (?, ?, ?, ?) "
        "ON CONFLICT (code, reporter) DO UPDATE SET reason = excluded.reason, "
        "reported = excluded.reported",
        {code, reporter, reason, when});
    added = true;
  });
  return added;
}

std::vector<Report> LevelStore::Reports() {
  std::vector<Report> reports;
  for (const DbRow& row :
       m_db.Run("SELECT code, reason, reported FROM reports ORDER BY reported DESC, code"))
    reports.push_back({row.Text(0), row.Text(1), row.Int(2)});
  return reports;
}

bool LevelStore::SetHidden(const std::string& code, bool hidden) {
  bool found = false;
  m_db.WriteTransaction([&] {
    found = !m_db.Run("UPDATE levels SET hidden = ? WHERE code = ? RETURNING code",
                      {std::int64_t{hidden ? 1 : 0}, code})
                 .empty();
  });
  return found;
}

bool LevelStore::RemoveLevelAsAdministrator(const std::string& code) {
  bool found = false;
  m_db.WriteTransaction([&] {
    m_db.Run("DELETE FROM set_levels WHERE code = ?", {code});
    found = !m_db.Run("DELETE FROM levels WHERE code = ? RETURNING code", {code}).empty();
  });
  return found;
}
