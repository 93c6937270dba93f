// The API's JSON reader on any bytes: it never crashes, reads nothing past
// its input, and every text it takes comes back whole from the answers'
// quoting.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "logic/json.h"

namespace {

void CheckTexts(const JsonValue& value) {
  if (const std::string* text = value.String()) {
    const auto back = ParseJson(JsonQuoted(*text));
    const JsonValue* read = std::get_if<JsonValue>(&back);
    if (read == nullptr || read->String() == nullptr || *read->String() != *text) std::abort();
  } else if (const JsonArray* items = value.Array()) {
    for (const JsonValue& item : *items) CheckTexts(item);
  } else if (const JsonObject* members = value.Object()) {
    for (const auto& member : *members) CheckTexts(member.value);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto parsed = ParseJson(text);
  if (const JsonValue* value = std::get_if<JsonValue>(&parsed)) CheckTexts(*value);
  return 0;
}
