#include "play/start_level.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

/// More digits than any set file can hold levels (MaxSetFileBytes bounds it).
constexpr std::size_t MaxLevelDigits = 7;

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

/// The number of a level; or why the text is none.
std::pair<std::optional<int>, std::string> LevelNumber(std::string_view text) {
  const std::string notANumber = std::string(StartLevelOptionName) +
                                 " needs a level number from 1, not " + QuotedForNotice(text);
  if (!AllDigits(text)) return {std::nullopt, notANumber};
  const std::size_t significant = text.size() - std::min(text.find_first_not_of('0'), text.size());
  if (significant > MaxLevelDigits) {
    return {std::nullopt,
            "there is no level " + std::string(text) + ": no set file holds that many levels"};
  }
  int number = 0;
  for (const char digit : text) number = number * 10 + (digit - '0');
  if (number < 1) return {std::nullopt, notANumber};
  return {number, {}};
}

/// The set could not be opened: the game says why, as it does without the option.
bool SetNotOpened(const GameStart& start) {
  if (start.notice.empty()) return false;
  const GameTextId id = start.notice.front().id;
  return id == GameTextId::SetUnreadable || id == GameTextId::SetWithoutLevels ||
         id == GameTextId::NeitherFileNorCode;
}

}  // namespace

StartLevelOption TakeStartLevel(const std::vector<std::string>& arguments) {
  const std::string name = StartLevelOptionName;
  StartLevelOption option;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::optional<std::string> value;
    if (argument == name) {
      if (i + 1 == arguments.size()) return {std::nullopt, {}, name + " needs a level number"};
      value = arguments[++i];
    } else if (argument.rfind(name + "=", 0) == 0) {
      value = argument.substr(name.size() + 1);
    } else {
      option.rest.push_back(argument);
      continue;
    }
    if (option.level) return {std::nullopt, {}, name + " is given more than once"};
    auto [level, refusal] = LevelNumber(*value);
    if (!level) return {std::nullopt, {}, std::move(refusal)};
    option.level = level;
  }
  if (option.level && option.rest.empty())
    return {std::nullopt, {}, name + " needs a level-set file to play"};
  return option;
}

std::string ApplyStartLevel(int level, GameStart& start) {
  const std::string name = StartLevelOptionName;
  if (!start.set) {
    if (SetNotOpened(start)) return {};
    return name + " needs a level-set file to play, not a level code";
  }
  const int count = start.set->LevelCount();
  if (level < 1 || level > count) {
    return "there is no level " + std::to_string(level) + " to start at: the set has " +
           std::to_string(count) + (count == 1 ? " level" : " levels");
  }
  start.set->GoTo(level - 1);
  start.level = start.set->CurrentLevel();
  return {};
}
