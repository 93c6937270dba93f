#include "play/set_start.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "logic/level_code.h"

namespace {

namespace fs = std::filesystem;

/// Closes the file when reading ends, however it ends.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

Reason SystemReason() { return {ReasonId::System, {std::strerror(errno)}}; }

/// Why path cannot be a set file, or nothing when it is a regular file.
std::optional<Reason> NotAFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  switch (status.type()) {
    case fs::file_type::regular: return std::nullopt;
    case fs::file_type::not_found: return Reason{ReasonId::NoSuchFile};
    case fs::file_type::directory: return Reason{ReasonId::IsAFolder};
    case fs::file_type::none: return Reason{ReasonId::System, {error.message()}};
    default: return Reason{ReasonId::NotARegularFile};
  }
}

/// True when the text names something on the disk, so that it is not taken
/// for a level code.
bool NamesSomethingOnDisk(const std::string& text) {
  std::error_code error;
  const fs::file_status status = fs::status(text, error);
  return status.type() != fs::file_type::none && status.type() != fs::file_type::not_found;
}

std::string FileName(const std::string& path) {
  const std::string name = fs::path(path).filename().string();
  return name.empty() ? path : name;
}

GameStart RandomStart(const RandomSource& random, std::vector<GameText> notice) {
  return {RandomSolvableLevel(DefaultBoardSize, random), false, std::move(notice)};
}

GameStart OpenSet(const std::string& path, const RandomSource& random,
                  std::shared_ptr<ProgressStore> progress) {
  const SetFileReading file = ReadSetFile(path);
  if (!file.text) {
    return RandomStart(
        random,
        {{GameTextId::SetUnreadable, {DefaultBoardSize}, {QuotedForNotice(path)}, file.reason}});
  }
  PlayableSet set = PrepareSet(*file.text);
  if (set.levels.empty()) {
    std::vector<GameText> notice{
        {GameTextId::SetWithoutLevels, {DefaultBoardSize}, {QuotedForNotice(path)}}};
    for (GameText& leftOut : LeftOutTexts(set)) notice.push_back(std::move(leftOut));
    return RandomStart(random, std::move(notice));
  }
  if (set.title.empty()) set.title = FileName(path);
  std::vector<GameText> notice = LeftOutTexts(set);
  SetPlay play(std::move(set), std::move(progress));
  Level level = play.CurrentLevel();
  return {std::move(level), false, std::move(notice), std::move(play)};
}

}  // namespace

SetFileReading ReadSetFile(const std::string& path) {
  if (std::optional<Reason> reason = NotAFile(path)) return {std::nullopt, std::move(*reason)};
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return {std::nullopt, SystemReason()};
  std::string text;
  char buffer[65536];
  while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get())) {
    if (text.size() + count > MaxSetFileBytes) {
      return {std::nullopt,
              {ReasonId::FileTooLarge, {std::to_string(MaxSetFileBytes / (1024 * 1024))}}};
    }
    text.append(buffer, count);
  }
  if (std::ferror(file.get())) return {std::nullopt, SystemReason()};
  return {std::move(text), {}};
}

GameStart OpenGameOrSet(const std::vector<std::string>& arguments, const RandomSource& random,
                        std::shared_ptr<ProgressStore> progress) {
  const GameParameter parameter = ParseParameterText(arguments);
  // No text asks for a random level.
  if (parameter.code.empty()) return OpenGame(arguments, random);
  Level level;
  const ParseResult read = ParseLevelCode(level, parameter.code);
  if (parameter.fromEditor) {
    // The editor's Test passes a code, its Test Set a set file: a code is
    // read as one first, so that no file can stand in for it.
    if (read.accepted || !NamesSomethingOnDisk(parameter.code)) return OpenGame(arguments, random);
    GameStart start = OpenSet(parameter.code, random, std::move(progress));
    start.editorLevel = true;
    return start;
  }
  if (NamesSomethingOnDisk(parameter.code))
    return OpenSet(parameter.code, random, std::move(progress));
  if (read.accepted) return OpenGame(arguments, random);
  return RandomStart(random, {{GameTextId::NeitherFileNorCode,
                               {DefaultBoardSize},
                               {QuotedForNotice(parameter.code)},
                               read.reason}});
}
