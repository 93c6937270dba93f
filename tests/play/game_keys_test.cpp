#include "play/game_keys.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "tests/web/rules_table.h"

namespace {

// The table the web module's test under node reads too: both front ends'
// keys come from the one table, so both must give these actions.
TEST(GameKeysTest, EveryKeyOfTheSharedTableGivesItsAction) {
  std::ifstream file(KORVALO_KEYS_TABLE);
  ASSERT_TRUE(file) << KORVALO_KEYS_TABLE;
  int rows = 0;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line[0] == '#') continue;
    if (line.empty()) continue;
    const std::vector<std::string> fields = SplitOn(line, '\t');
    ASSERT_EQ(fields.size(), 3u) << line;
    SCOPED_TRACE(line);
    const std::optional<GameAction> action = ActionOfKey(fields[0], fields[1] == "1");
    EXPECT_EQ(action ? std::string(ActionName(*action)) : std::string("-"), fields[2]);
    ++rows;
  }
  EXPECT_GE(rows, 20);
}

TEST(GameKeysTest, EachKeyHasOneActionAndEachActionAName) {
  std::set<std::pair<std::string_view, bool>> keys;
  std::set<std::string_view> names;
  for (const GameKey& entry : GameKeys) {
    EXPECT_TRUE(keys.insert({entry.key, entry.control}).second) << entry.key;
    names.insert(ActionName(entry.action));
  }
  EXPECT_EQ(names.size(), 22u);  // every action has a key and a name of its own
  EXPECT_EQ(names.count(""), 0u);
}

}  // namespace
