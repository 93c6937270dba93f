#pragma once
// A small strict JSON reader, for the site's request bodies and the tool's
// reading of the site's answers, and the quoting of text in the answers. Strict: one value and
// nothing after it, no duplicate names, well-formed UTF-8, no raw control characters in strings, no
// lone surrogates, bounded nesting. Anything else is refused with the reason.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct JsonValue;
struct JsonMember;
using JsonArray = std::vector<JsonValue>;
using JsonObject = std::vector<JsonMember>;

struct JsonValue {
  std::variant<std::nullptr_t, bool, double, std::string, JsonArray, JsonObject> value;

  const std::string* String() const { return std::get_if<std::string>(&value); }
  const JsonArray* Array() const { return std::get_if<JsonArray>(&value); }
  const JsonObject* Object() const { return std::get_if<JsonObject>(&value); }
  /// The member of an object with that name; null when there is none or this is no object.
  const JsonValue* Member(std::string_view name) const;
};

struct JsonMember {
  std::string name;
  JsonValue value;
};

struct JsonError {
  std::string reason;
};

/// Deepest nesting of arrays and objects read.
inline constexpr int MaxJsonDepth = 8;

std::variant<JsonValue, JsonError> ParseJson(std::string_view text);

/// The text as a JSON string, quotes included. Besides what JSON must escape,
/// < > & and ' are written as \u escapes, so that an answer shown by mistake
/// as HTML holds no markup.
std::string JsonQuoted(std::string_view text);
