#include "editing/recovery.h"

#include <utility>

#include "logic/level_code.h"

namespace {

constexpr std::string_view Heading = "Korvalo designer recovery 1\n";
constexpr std::string_view Ending = "end\n";

constexpr std::pair<OriginKind, std::string_view> OriginNames[] = {
    {OriginKind::None, "none"},
    {OriginKind::SetLevel, "set-level"},
    {OriginKind::Generated, "generated"},
    {OriginKind::Pasted, "pasted"},
};

std::string_view NameOf(OriginKind kind) {
  for (const auto& [origin, name] : OriginNames) {
    if (origin == kind) return name;
  }
  return "none";
}

std::optional<OriginKind> OriginNamed(std::string_view text) {
  for (const auto& [origin, name] : OriginNames) {
    if (name == text) return origin;
  }
  return std::nullopt;
}

/// "key length\nbytes\n": a field that may hold any byte.
void WriteField(std::string& text, std::string_view key, std::string_view value) {
  text.append(key).append(" ").append(std::to_string(value.size())).append("\n");
  text.append(value).append("\n");
}

/// "key value\n": a field of one line.
void WriteLine(std::string& text, std::string_view key, std::string_view value) {
  text.append(key).append(" ").append(value).append("\n");
}

/// Reads a recovery's fields in their order; every read fails once one has.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : m_rest(text) {}

  bool Expect(std::string_view exact) {
    if (!m_ok || m_rest.substr(0, exact.size()) != exact) return m_ok = false;
    m_rest.remove_prefix(exact.size());
    return true;
  }
  std::string Line(std::string_view key) {
    if (!Expect(key) || !Expect(" ")) return {};
    const std::size_t end = m_rest.find('\n');
    if (end == std::string_view::npos) return m_ok = false, std::string();
    std::string value(m_rest.substr(0, end));
    m_rest.remove_prefix(end + 1);
    return value;
  }
  std::string Field(std::string_view key) {
    const std::string length = Line(key);
    std::size_t size = 0;
    for (const char c : length) {
      if (c < '0' || c > '9' || size > m_rest.size()) return m_ok = false, std::string();
      size = size * 10 + static_cast<std::size_t>(c - '0');
    }
    if (!m_ok || length.empty() || size >= m_rest.size() || m_rest[size] != '\n')
      return m_ok = false, std::string();
    std::string value(m_rest.substr(0, size));
    m_rest.remove_prefix(size + 1);
    return value;
  }
  bool AtEnd() const { return m_ok && m_rest.empty(); }
  bool ok() const { return m_ok; }
  void Fail() { m_ok = false; }

 private:
  std::string_view m_rest;
  bool m_ok = true;
};

bool IsLevelCode(const std::string& code) {
  Level level;
  return ParseLevelCode(level, code).accepted;
}

Level LevelOf(const std::string& code) {
  Level level;
  ParseLevelCode(level, code);
  return level;
}

}  // namespace

Recovery RecoveryOf(const DesignerSession& session) {
  Recovery recovery;
  recovery.setPath = session.set().path();
  recovery.setModified = session.set().modified();
  recovery.setText = session.set().Text();
  const BoardOrigin& origin = session.board().origin();
  recovery.origin = origin.kind;
  recovery.originSetLevel = session.BoardSetLevel();
  // A set level no longer in the set is a level from nowhere in particular.
  if (origin.kind == OriginKind::SetLevel && !recovery.originSetLevel)
    recovery.origin = OriginKind::None;
  recovery.originCode = WriteLevelCode(origin.level);
  recovery.boardCode = WriteLevelCode(session.board().level());
  return recovery;
}

void Recover(DesignerSession& session, const Recovery& recovery) {
  session.RecoverSet(recovery.setText, recovery.setPath, recovery.setModified);
  BoardOrigin origin{recovery.origin, 0, LevelOf(recovery.originCode)};
  if (recovery.origin == OriginKind::SetLevel) {
    const std::size_t index = recovery.originSetLevel.value_or(session.set().size());
    if (index < session.set().size())
      origin.setLevelId = session.set().IdOf(index);
    else
      origin.kind = OriginKind::None;
  }
  session.board().PutBack(LevelOf(recovery.boardCode), origin);
}

std::string WriteRecovery(const Recovery& recovery) {
  std::string text(Heading);
  WriteField(text, "path", recovery.setPath);
  WriteLine(text, "modified", recovery.setModified ? "1" : "0");
  WriteLine(text, "origin", NameOf(recovery.origin));
  WriteLine(text, "origin-level",
            recovery.originSetLevel ? std::to_string(*recovery.originSetLevel) : "-");
  WriteLine(text, "origin-code", recovery.originCode);
  WriteLine(text, "board", recovery.boardCode);
  WriteField(text, "set", recovery.setText);
  text.append(Ending);
  return text;
}

std::optional<Recovery> ReadRecovery(std::string_view text) {
  FieldReader reader(text);
  Recovery recovery;
  reader.Expect(Heading);
  recovery.setPath = reader.Field("path");
  const std::string modified = reader.Line("modified");
  const std::optional<OriginKind> origin = OriginNamed(reader.Line("origin"));
  const std::string originLevel = reader.Line("origin-level");
  recovery.originCode = reader.Line("origin-code");
  recovery.boardCode = reader.Line("board");
  recovery.setText = reader.Field("set");
  reader.Expect(Ending);
  if (!reader.AtEnd() || !origin || (modified != "0" && modified != "1")) return std::nullopt;
  if (!IsLevelCode(recovery.originCode) || !IsLevelCode(recovery.boardCode)) return std::nullopt;
  recovery.setModified = modified == "1";
  recovery.origin = *origin;
  if (originLevel != "-") {
    if (originLevel.empty() || originLevel.size() > 9 ||
        originLevel.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    recovery.originSetLevel = static_cast<std::size_t>(std::stoul(originLevel));
  }
  return recovery;
}

bool HoldsWork(const Recovery& recovery) {
  return recovery.setModified || BoardHoldsWork(recovery);
}

// As the session counts it: a generated or pasted level is in no set, any
// other board holds work when it differs from the level it came from.
bool BoardHoldsWork(const Recovery& recovery) {
  switch (recovery.origin) {
    case OriginKind::Generated:
    case OriginKind::Pasted: return true;
    case OriginKind::None:
    case OriginKind::SetLevel: break;
  }
  return recovery.boardCode != recovery.originCode;
}

RecoveryChoice ChooseRecoveries(const std::vector<RecoveryFile>& files) {
  RecoveryChoice choice;
  for (const RecoveryFile& file : files) {
    if (file.ownerRunning) continue;
    const std::optional<Recovery> recovery = ReadRecovery(file.text);
    (recovery && HoldsWork(*recovery) ? choice.offer : choice.remove).push_back(file.name);
  }
  return choice;
}
