#include "server/publishing.h"

#include <set>

#include "logic/canonical_code.h"
#include "logic/json.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "server/query.h"

namespace {

/// Code points of well-formed UTF-8.
std::size_t CodePoints(std::string_view text) {
  std::size_t count = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xc0) != 0x80) ++count;
  return count;
}

/// Whether the UTF-8 text holds C0 or C1 control characters or DEL.
bool HasControls(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7f) return true;
    // U+0080 to U+009F are written C2 80 to C2 9F.
    if (byte == 0xc2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xa0)
      return true;
  }
  return false;
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

/// The named text of the object, checked; an absent optional text is empty.
std::variant<std::string, Refusal> TextField(const JsonValue& object, std::string_view name,
                                             std::size_t longest, bool required) {
  const JsonValue* value = object.Member(name);
  if (value == nullptr) {
    if (required) return Refusal{"The " + std::string(name) + " is missing."};
    return std::string();
  }
  const std::string* text = value->String();
  if (text == nullptr) return Refusal{"The " + std::string(name) + " must be text."};
  if (HasControls(*text)) return Refusal{"The " + std::string(name) + " holds control characters."};
  if (CodePoints(*text) > longest)
    return Refusal{"The " + std::string(name) + " is longer than " + std::to_string(longest) +
                   " characters."};
  if (required && IsBlank(*text)) return Refusal{"The " + std::string(name) + " is empty."};
  return *text;
}

/// The text fields of a publication; the refusal of the first that is wrong.
struct Texts {
  std::string title, author, description;
};

std::variant<Texts, Refusal> ReadTexts(const JsonValue& object) {
  Texts texts;
  struct Field {
    std::string_view name;
    std::size_t longest;
    bool required;
    std::string Texts::*into;
  };
  static constexpr Field Fields[] = {
      {"title", MaxTitleLength, true, &Texts::title},
      {"author", MaxAuthorLength, false, &Texts::author},
      {"description", MaxDescriptionLength, false, &Texts::description}};
  for (const Field& field : Fields) {
    auto text = TextField(object, field.name, field.longest, field.required);
    if (auto* refusal = std::get_if<Refusal>(&text)) return *refusal;
    texts.*field.into = std::get<std::string>(std::move(text));
  }
  return texts;
}

std::variant<PublishedLevel, Refusal> LevelOfMember(const JsonValue& object) {
  const JsonValue* code = object.Member("code");
  if (code == nullptr || code->String() == nullptr) return Refusal{"The level code is missing."};
  return CheckedLevel(*code->String());
}

}  // namespace

std::variant<JsonValue, Refusal> BodyObject(std::string_view body,
                                            std::initializer_list<std::string_view> names) {
  if (body.size() > MaxBodyBytes) return Refusal{"The request is too large."};
  auto parsed = ParseJson(body);
  if (auto* error = std::get_if<JsonError>(&parsed)) return Refusal{error->reason};
  JsonValue value = std::get<JsonValue>(std::move(parsed));
  if (value.Object() == nullptr) return Refusal{"The request must be a JSON object."};
  for (const auto& member : *value.Object()) {
    bool known = false;
    for (std::string_view name : names) known = known || member.name == name;
    if (!known) return Refusal{"The request has a member this address does not take."};
  }
  return value;
}

std::optional<std::string> CanonicalCodeOf(std::string_view code) {
  if (code.size() > LevelCodeLength(7)) return std::nullopt;
  std::string lower(code);
  for (char& c : lower)
    if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
  Level level;
  if (!ParseLevelCode(level, lower).accepted) return std::nullopt;
  if (lower.size() != LevelCodeLength(level.boardSize)) return std::nullopt;
  return CanonicalCode(level);
}

std::variant<PublishedLevel, Refusal> CheckedLevel(std::string_view code) {
  const std::optional<std::string> canonical = CanonicalCodeOf(code);
  if (!canonical) return Refusal{"The level code cannot be read."};
  Level level;
  ParseLevelCode(level, *canonical);
  const Solution solution = ShortestSolution(level);
  if (!solution.exists) return Refusal{"The level has no solution."};
  if (solution.moves.empty()) return Refusal{"The level is solved before the first move."};
  PublishedLevel published;
  published.code = *canonical;
  published.boardSize = level.boardSize;
  published.moves = static_cast<int>(solution.moves.size());
  // The difficulty grade goes by the length until the game's grade exists.
  published.grade = published.moves;
  return published;
}

std::variant<PublishedLevel, Refusal> ReadLevelPublication(std::string_view body,
                                                           std::int64_t now) {
  auto object = BodyObject(body, {"code", "title", "author", "description"});
  if (auto* refusal = std::get_if<Refusal>(&object)) return *refusal;
  const JsonValue& request = std::get<JsonValue>(object);
  auto texts = ReadTexts(request);
  if (auto* refusal = std::get_if<Refusal>(&texts)) return *refusal;
  auto level = LevelOfMember(request);
  if (auto* refusal = std::get_if<Refusal>(&level)) return *refusal;
  PublishedLevel published = std::get<PublishedLevel>(std::move(level));
  Texts& text = std::get<Texts>(texts);
  published.title = std::move(text.title);
  published.author = std::move(text.author);
  published.description = std::move(text.description);
  published.published = now;
  return published;
}

std::variant<SetSubmission, Refusal> ReadSetPublication(std::string_view body, std::int64_t now) {
  auto object = BodyObject(body, {"title", "author", "description", "levels"});
  if (auto* refusal = std::get_if<Refusal>(&object)) return *refusal;
  const JsonValue& request = std::get<JsonValue>(object);
  auto texts = ReadTexts(request);
  if (auto* refusal = std::get_if<Refusal>(&texts)) return *refusal;
  const JsonValue* levels = request.Member("levels");
  if (levels == nullptr || levels->Array() == nullptr || levels->Array()->empty())
    return Refusal{"The set needs a list of levels."};
  if (levels->Array()->size() > MaxSetLevels)
    return Refusal{"A set has at most " + std::to_string(MaxSetLevels) + " levels."};

  Texts& text = std::get<Texts>(texts);
  SetSubmission submission;
  submission.set = {
      "", std::move(text.title), std::move(text.author), std::move(text.description), now, false,
      {}};
  std::set<std::string> seen;
  for (const JsonValue& item : *levels->Array()) {
    const std::string number = std::to_string(submission.levels.size() + 1);
    if (item.Object() == nullptr)
      return Refusal{"Level " + number + " of the set must be an object with its code."};
    for (const auto& member : *item.Object())
      if (member.name != "code" && member.name != "title")
        return Refusal{"Level " + number + " of the set has a member a level does not take."};
    auto level = LevelOfMember(item);
    if (auto* refusal = std::get_if<Refusal>(&level))
      return Refusal{"Level " + number + " of the set: " + refusal->reason};
    auto title = TextField(item, "title", MaxTitleLength, false);
    if (auto* refusal = std::get_if<Refusal>(&title))
      return Refusal{"Level " + number + " of the set: " + refusal->reason};
    PublishedLevel& published = std::get<PublishedLevel>(level);
    if (!seen.insert(published.code).second)
      return Refusal{"Level " + number +
                     " of the set is the same as an earlier one, up to turns and mirrors."};
    std::string levelTitle = std::get<std::string>(std::move(title));
    if (IsBlank(levelTitle)) levelTitle = "Level " + number;
    published.title = levelTitle;
    published.author = submission.set.author;
    published.published = now;
    submission.set.levels.push_back({published.code, std::move(levelTitle)});
    submission.levels.push_back(std::move(published));
  }
  return submission;
}

std::variant<std::string, Refusal> ReadReport(std::string_view body) {
  auto object = BodyObject(body, {"reason"});
  if (auto* refusal = std::get_if<Refusal>(&object)) return *refusal;
  return TextField(std::get<JsonValue>(object), "reason", MaxReasonLength, true);
}
