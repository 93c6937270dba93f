#pragma once
// What a publication must be before the store sees it: a request body read
// as strict JSON, every level valid and with a solution, every text of
// bounded length, UTF-8, without control characters. The reasons are in
// words for the person who sent it.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "logic/json.h"
#include "logic/level.h"
#include "server/store/level_store.h"

/// Longest texts taken, in characters (code points).
inline constexpr std::size_t MaxTitleLength = 80;
inline constexpr std::size_t MaxAuthorLength = 60;
inline constexpr std::size_t MaxDescriptionLength = 500;
inline constexpr std::size_t MaxReasonLength = 500;
/// Most levels in a published set.
inline constexpr std::size_t MaxSetLevels = 100;
/// Largest request body read, in bytes.
inline constexpr std::size_t MaxBodyBytes = 64 * 1024;

struct Refusal {
  std::string reason;
};

/// The body as a JSON object that names only the given members (not all of
/// them need be there); the refusal when it is not.
std::variant<JsonValue, Refusal> BodyObject(std::string_view body,
                                            std::initializer_list<std::string_view> names);

/// A level given by its code, checked: the facts the store keeps of it,
/// under its canonical code; the refusal when it cannot be published.
std::variant<PublishedLevel, Refusal> CheckedLevel(std::string_view code);

/// The level code of an address's path, read as any form of the level
/// (capitals, another turn or mirror image): its canonical code, or nullopt.
std::optional<std::string> CanonicalCodeOf(std::string_view code);

/// A level publication: {"code", "title", "author"?, "description"?}.
std::variant<PublishedLevel, Refusal> ReadLevelPublication(std::string_view body, std::int64_t now);

/// A set publication: {"title", "author"?, "description"?, "levels": [{"code", "title"?}, ...]}.
/// Returns the set (without id) and the facts of each of its levels.
std::variant<SetSubmission, Refusal> ReadSetPublication(std::string_view body, std::int64_t now);

/// A visitor's report: {"reason"}.
std::variant<std::string, Refusal> ReadReport(std::string_view body);
