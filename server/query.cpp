#include "server/query.h"

#include <iterator>
#include <optional>

#include "logic/text_checks.h"

namespace {

/// Undoes %XX escapes and the + of form encoding; nullopt for a broken escape.
std::optional<std::string> Unescaped(std::string_view text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      result += ' ';
    } else if (text[i] != '%') {
      result += text[i];
    } else {
      if (i + 2 >= text.size()) return std::nullopt;
      const std::optional<int> high = HexValue(text[i + 1]);
      const std::optional<int> low = HexValue(text[i + 2]);
      if (!high || !low) return std::nullopt;
      result += static_cast<char>(*high * 16 + *low);
      i += 2;
    }
  }
  return result;
}

bool HasControlCharacter(std::string_view text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return true;
  }
  return false;
}

bool HasMarkupCharacter(std::string_view text) {
  return text.find_first_of("<>\"'`") != std::string_view::npos;
}

/// Why this decoded name or value cannot stand in a level address; nullopt when it can.
std::optional<std::string> Objection(std::string_view text) {
  if (!IsValidUtf8(text)) return "The address is not valid UTF-8 text.";
  if (HasControlCharacter(text)) return "The address holds control characters.";
  if (HasMarkupCharacter(text))
    return "The address holds characters that have no place in it (< > \" ' `).";
  return std::nullopt;
}

bool IsHexText(std::string_view text) {
  for (char c : text)
    if (!HexValue(c)) return false;
  return true;
}

const QueryParameter* ParameterNamed(std::string_view name) {
  for (const QueryParameter& parameter : QueryParameters)
    if (parameter.name == name) return &parameter;
  return nullptr;
}

bool IsCode(const QueryParameter& parameter) { return parameter.switchValue.empty(); }

/// Takes one parameter of the table into the query; the objection when its
/// value is not one it takes, or when it contradicts a switch given before.
std::optional<std::string> Take(const QueryParameter& parameter, const std::string& value,
                                LevelQuery& query) {
  if (IsCode(parameter)) {
    query.code = value;
    return std::nullopt;
  }
  if (value != parameter.switchValue)
    return "The parameter " + std::string(parameter.name) + " takes " +
           std::string(parameter.values) + ".";
  if (query.answer != Answer::Page)
    return "The address asks for two different answers (png and embed): give one of them.";
  query.answer = parameter.answer;
  return std::nullopt;
}

}  // namespace

std::variant<LevelQuery, QueryError> ReadQuery(std::string_view query) {
  if (query.size() > MaxQueryLength)
    return QueryError{"The address is too long: a level address has at most " +
                      std::to_string(MaxQueryLength) + " characters after the question mark."};
  LevelQuery level;
  bool seen[std::size(QueryParameters)] = {};
  while (!query.empty()) {
    const std::size_t end = query.find('&');
    const std::string_view part = query.substr(0, end);
    query = end == std::string_view::npos ? std::string_view() : query.substr(end + 1);
    if (part.empty()) continue;
    const std::size_t equals = part.find('=');
    const std::optional<std::string> name = Unescaped(part.substr(0, equals));
    const std::optional<std::string> value =
        equals == std::string_view::npos ? std::string() : Unescaped(part.substr(equals + 1));
    if (!name || !value) return QueryError{"The address holds a broken %-escape."};
    for (const std::string* text : {&*name, &*value})
      if (auto objection = Objection(*text)) return QueryError{std::move(*objection)};

    const QueryParameter* parameter = ParameterNamed(*name);
    if (parameter == nullptr) continue;  // someone else's parameter
    bool& given = seen[parameter - QueryParameters];
    if (given) return QueryError{"The parameter " + *name + " is given twice."};
    given = true;
    if (auto objection = Take(*parameter, *value, level)) return QueryError{std::move(*objection)};
  }
  static_assert(QueryParameters[0].switchValue.empty(), "the code comes first");
  if (!seen[0])
    return QueryError{"The address names no level: it needs ?s= followed by a level code."};
  if (level.code.empty()) return QueryError{"The level code after ?s= is empty."};
  if (!IsHexText(level.code))
    return QueryError{"A level code has only the digits 0 to 9 and the letters a to f."};
  return level;
}

// Appended piece by piece: GCC 12 at -O3 takes a chain of + for a possible
// overlap of the copies (-Wrestrict).
std::string CanonicalQuery(const LevelQuery& query) {
  std::string canonical;
  for (const QueryParameter& parameter : QueryParameters) {
    if (!IsCode(parameter) && parameter.answer != query.answer) continue;
    if (!canonical.empty()) canonical += '&';
    canonical += parameter.name;
    canonical += '=';
    canonical += IsCode(parameter) ? std::string_view(query.code) : parameter.switchValue;
  }
  return canonical;
}
