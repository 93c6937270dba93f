#include "logic/json.h"

#include <cstdio>
#include <cstdlib>

#include "logic/text_checks.h"

namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : m_text(text) {}

  std::variant<JsonValue, JsonError> Document() {
    JsonValue value;
    if (!Value(value, 0)) return JsonError{m_error};
    SkipSpace();
    if (m_at != m_text.size()) return JsonError{"The JSON has more after its value."};
    return value;
  }

 private:
  bool Fail(std::string reason) {
    if (m_error.empty()) m_error = std::move(reason);
    return false;
  }

  void SkipSpace() {
    while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t' ||
                                    m_text[m_at] == '\n' || m_text[m_at] == '\r'))
      ++m_at;
  }

  bool Literal(std::string_view word) {
    if (m_text.substr(m_at, word.size()) != word) return Fail("The JSON is not well-formed.");
    m_at += word.size();
    return true;
  }

  bool Value(JsonValue& out, int depth) {
    SkipSpace();
    if (m_at >= m_text.size()) return Fail("The JSON ends too early.");
    switch (m_text[m_at]) {
      case '{': return Object(out, depth + 1);
      case '[': return Array(out, depth + 1);
      case '"': {
        std::string text;
        if (!String(text)) return false;
        out.value = std::move(text);
        return true;
      }
      case 't': out.value = true; return Literal("true");
      case 'f': out.value = false; return Literal("false");
      case 'n': out.value = nullptr; return Literal("null");
      default: return Number(out);
    }
  }

  bool Object(JsonValue& out, int depth) {
    if (depth > MaxJsonDepth) return Fail("The JSON is nested too deeply.");
    ++m_at;
    JsonObject members;
    SkipSpace();
    if (m_at < m_text.size() && m_text[m_at] == '}') {
      ++m_at;
      out.value = std::move(members);
      return true;
    }
    for (;;) {
      SkipSpace();
      if (m_at >= m_text.size() || m_text[m_at] != '"') return Fail("The JSON is not well-formed.");
      std::string name;
      if (!String(name)) return false;
      for (const auto& member : members)
        if (member.name == name) return Fail("The JSON names \"" + name + "\" twice.");
      SkipSpace();
      if (m_at >= m_text.size() || m_text[m_at] != ':') return Fail("The JSON is not well-formed.");
      ++m_at;
      JsonValue value;
      if (!Value(value, depth)) return false;
      members.push_back({std::move(name), std::move(value)});
      SkipSpace();
      if (m_at < m_text.size() && m_text[m_at] == ',') {
        ++m_at;
        continue;
      }
      if (m_at < m_text.size() && m_text[m_at] == '}') {
        ++m_at;
        out.value = std::move(members);
        return true;
      }
      return Fail("The JSON is not well-formed.");
    }
  }

  bool Array(JsonValue& out, int depth) {
    if (depth > MaxJsonDepth) return Fail("The JSON is nested too deeply.");
    ++m_at;
    JsonArray items;
    SkipSpace();
    if (m_at < m_text.size() && m_text[m_at] == ']') {
      ++m_at;
      out.value = std::move(items);
      return true;
    }
    for (;;) {
      JsonValue item;
      if (!Value(item, depth)) return false;
      items.push_back(std::move(item));
      SkipSpace();
      if (m_at < m_text.size() && m_text[m_at] == ',') {
        ++m_at;
        continue;
      }
      if (m_at < m_text.size() && m_text[m_at] == ']') {
        ++m_at;
        out.value = std::move(items);
        return true;
      }
      return Fail("The JSON is not well-formed.");
    }
  }

  bool Digits() {
    const std::size_t start = m_at;
    while (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9') ++m_at;
    return m_at > start;
  }

  /// RFC 8259's number: -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
  bool Number(JsonValue& out) {
    const std::size_t start = m_at;
    if (m_text[m_at] == '-') ++m_at;
    if (m_at < m_text.size() && m_text[m_at] == '0') {
      ++m_at;
    } else if (!Digits()) {
      return Fail("The JSON is not well-formed.");
    }
    if (m_at < m_text.size() && m_text[m_at] == '.') {
      ++m_at;
      if (!Digits()) return Fail("The JSON is not well-formed.");
    }
    if (m_at < m_text.size() && (m_text[m_at] == 'e' || m_text[m_at] == 'E')) {
      ++m_at;
      if (m_at < m_text.size() && (m_text[m_at] == '+' || m_text[m_at] == '-')) ++m_at;
      if (!Digits()) return Fail("The JSON is not well-formed.");
    }
    const std::string number(m_text.substr(start, m_at - start));
    out.value = std::strtod(number.c_str(), nullptr);
    return true;
  }

  bool Hex4(unsigned& code) {
    if (m_at + 4 > m_text.size()) return Fail("The JSON has a broken \\u escape.");
    code = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = m_text[m_at++];
      code <<= 4;
      if (c >= '0' && c <= '9')
        code |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f')
        code |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        code |= static_cast<unsigned>(c - 'A' + 10);
      else
        return Fail("The JSON has a broken \\u escape.");
    }
    return true;
  }

  static void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xc0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xe0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
      out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
      out += static_cast<char>(0xf0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
      out += static_cast<char>(0x80 | (code & 0x3f));
    }
  }

  bool Escape(std::string& out) {
    if (m_at >= m_text.size()) return Fail("The JSON ends too early.");
    const char c = m_text[m_at++];
    switch (c) {
      case '"': out += '"'; return true;
      case '\\': out += '\\'; return true;
      case '/': out += '/'; return true;
      case 'b': out += '\b'; return true;
      case 'f': out += '\f'; return true;
      case 'n': out += '\n'; return true;
      case 'r': out += '\r'; return true;
      case 't': out += '\t'; return true;
      case 'u': break;
      default: return Fail("The JSON has an unknown escape.");
    }
    unsigned code = 0;
    if (!Hex4(code)) return false;
    if (code >= 0xdc00 && code <= 0xdfff) return Fail("The JSON has a lone surrogate.");
    if (code >= 0xd800 && code <= 0xdbff) {
      unsigned low = 0;
      if (m_text.substr(m_at, 2) != "\\u") return Fail("The JSON has a lone surrogate.");
      m_at += 2;
      if (!Hex4(low)) return false;
      if (low < 0xdc00 || low > 0xdfff) return Fail("The JSON has a lone surrogate.");
      code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
    }
    AppendUtf8(out, code);
    return true;
  }

  bool String(std::string& out) {
    ++m_at;  // the opening quote
    const std::size_t start = m_at;
    for (;;) {
      if (m_at >= m_text.size()) return Fail("The JSON ends inside a string.");
      const auto c = static_cast<unsigned char>(m_text[m_at]);
      if (c == '"') break;
      if (c < 0x20) return Fail("The JSON has a control character inside a string.");
      ++m_at;
      if (c == '\\' && !Escape(out)) return false;
      if (c != '\\') out += static_cast<char>(c);
    }
    if (!IsValidUtf8(m_text.substr(start, m_at - start)))
      return Fail("The JSON is not valid UTF-8.");
    ++m_at;  // the closing quote
    return true;
  }

  std::string_view m_text;
  std::size_t m_at = 0;
  std::string m_error;
};

}  // namespace

const JsonValue* JsonValue::Member(std::string_view name) const {
  const JsonObject* object = Object();
  if (object == nullptr) return nullptr;
  for (const auto& member : *object)
    if (member.name == name) return &member.value;
  return nullptr;
}

std::variant<JsonValue, JsonError> ParseJson(std::string_view text) {
  return Reader(text).Document();
}

std::string JsonQuoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20 || byte == 0x7f || c == '<' || c == '>' || c == '&' || c == '\'') {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", byte);
          out += escape;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}
