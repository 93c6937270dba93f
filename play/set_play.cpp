#include "play/set_play.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "logic/canonical_code.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "play/game_start.h"

PlayableSet PrepareSet(std::string_view text) {
  LevelSetReading reading = ReadLevelSet(text);
  PlayableSet set{
      std::move(reading.set.title), std::move(reading.set.author), {}, std::move(reading.errors)};
  Level level;
  for (SetLevel& entry : reading.set.levels) {
    // The reader has accepted the code; the consistency test guards the play
    // against a placement the moves cannot take, as with a code on the command line.
    if (!ParseLevelCode(level, entry.code).accepted || !LevelIsConsistent(level)) {
      set.leftOut.push_back({entry.line, entry.code, {ReasonId::UnplayablePieces}});
      continue;
    }
    set.levels.push_back(
        {entry.line, std::move(entry.code), std::move(entry.title), CanonicalCode(level)});
  }
  std::stable_sort(set.leftOut.begin(), set.leftOut.end(),
                   [](const SetLineError& a, const SetLineError& b) { return a.line < b.line; });
  return set;
}

std::vector<GameText> LeftOutTexts(const PlayableSet& set) {
  if (set.leftOut.empty()) return {};
  const SetLineError& first = set.leftOut.front();
  return {
      {GameTextId::LeftOut, {static_cast<int>(set.leftOut.size()), first.line}, {}, first.reason}};
}

std::string LeftOutNotice(const PlayableSet& set) { return EnglishText(LeftOutTexts(set), " "); }

SetPlay::SetPlay(PlayableSet set, std::shared_ptr<ProgressStore> progress)
    : m_set(std::move(set)), m_progress(std::move(progress)) {
  assert(!m_set.levels.empty() && m_progress);
  for (const SetLevelEntry& entry : m_set.levels) {
    m_fewest.push_back(m_progress->FewestMoves(entry.canonicalCode));
  }
  m_index = FirstUnsolved().value_or(0);
}

Level SetPlay::CurrentLevel() const {
  Level level;
  [[maybe_unused]] const bool read = ParseLevelCode(level, Current().code).accepted;
  assert(read && LevelIsConsistent(level));  // PrepareSet let only such codes in
  RecheckLevel(level);
  return level;
}

bool SetPlay::GoTo(int index) {
  if (index < 0 || index >= LevelCount() || index == m_index) return false;
  m_index = index;
  return true;
}

int SetPlay::SolvedCount() const {
  return static_cast<int>(
      std::count_if(m_fewest.begin(), m_fewest.end(),
                    [](const std::optional<int>& fewest) { return fewest.has_value(); }));
}

void SetPlay::Observe(const GameState& game) {
  if (!game.IsSolved()) return;
  const int moves = game.MoveCount();
  const std::optional<int> before = m_fewest[static_cast<std::size_t>(m_index)];
  if (before && *before <= moves) return;
  const std::string& canonical = Current().canonicalCode;
  if (!m_progress->SetFewestMoves(canonical, moves)) m_progressUnsaved = true;
  for (std::size_t i = 0; i < m_fewest.size(); ++i) {
    if (m_set.levels[i].canonicalCode == canonical) m_fewest[i] = moves;
  }
}

std::optional<int> SetPlay::NextToPlay() const {
  if (m_index + 1 < LevelCount()) return m_index + 1;
  return FirstUnsolved();
}

std::optional<int> SetPlay::FirstUnsolved() const {
  const auto unsolved = std::find(m_fewest.begin(), m_fewest.end(), std::nullopt);
  if (unsolved == m_fewest.end()) return std::nullopt;
  return static_cast<int>(unsolved - m_fewest.begin());
}

std::vector<GameText> SetTexts(const SetPlay& play) {
  const std::optional<int> fewest = play.FewestMoves(play.Index());
  return {
      {GameTextId::SetHeading, {play.Index() + 1, play.LevelCount()}, {play.Current().title}},
      {GameTextId::SetAchievement, {fewest.value_or(-1), play.SolvedCount(), play.LevelCount()}}};
}

std::vector<std::string> SetLines(const SetPlay& play) {
  std::vector<std::string> lines;
  for (const GameText& text : SetTexts(play)) lines.push_back(EnglishText(text));
  return lines;
}

std::optional<GameText> OfferText(const SetPlay& play, const GameState& game) {
  if (!game.IsSolved()) return std::nullopt;
  const std::optional<int> next = play.NextToPlay();
  const bool last = play.Index() + 1 == play.LevelCount();
  if (play.AllSolved())
    return GameText{GameTextId::SetComplete, {play.LevelCount(), next ? *next + 1 : 0}};
  if (!last) return GameText{GameTextId::OfferNext, {*next + 1}};
  return GameText{GameTextId::EndOfSet, {play.SolvedCount(), play.LevelCount(), *next + 1}};
}

std::string OfferLine(const SetPlay& play, const GameState& game) {
  const std::optional<GameText> offer = OfferText(play, game);
  return offer ? EnglishText(*offer) : "";
}

std::vector<GameText> LevelNoticeTexts(const SetPlay& play, const GameState& game) {
  std::vector<GameText> texts;
  if (!game.ShortestFromStart()) texts.push_back({GameTextId::NoSolution});
  if (play.ProgressUnsaved()) texts.push_back({GameTextId::ProgressUnsaved});
  return texts;
}

std::string LevelNotice(const SetPlay& play, const GameState& game) {
  return EnglishText(LevelNoticeTexts(play, game), "\n");
}
