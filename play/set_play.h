#pragma once
// Playing a set of levels in order: which level is played, where the keys
// lead, what the player has achieved and what the window says about it. No
// window: the game window forwards its keys here and shows the texts.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "logic/level.h"
#include "logic/level_set.h"
#include "play/game_state.h"
#include "play/set_progress.h"

/// A level of a set that can be played.
struct SetLevelEntry {
  int line = 0;               // line of the set's text, counted from 1
  std::string code;           // as written
  std::string title;          // empty when none
  std::string canonicalCode;  // the same for the level's turns and mirror images
};

/// A set as the game plays it.
struct PlayableSet {
  std::string title;
  std::string author;
  std::vector<SetLevelEntry> levels;  // the playable levels, in the order of the text
  std::vector<SetLineError> leftOut;  // lines that could not be read, in line order
};

/// The set a text holds: every level line the set reader accepts and whose
/// pieces the moves can take, in order; every other line that should have been
/// a level or a header is left out.
PlayableSet PrepareSet(std::string_view text);

/// Says how many lines were left out and why the first was; nothing when none.
std::vector<GameText> LeftOutTexts(const PlayableSet& set);
/// The same in English; empty when none.
std::string LeftOutNotice(const PlayableSet& set);

class SetPlay {
 public:
  /// Starts at the first level not yet solved, or at the first level when every
  /// one is. progress keeps what is achieved, here and in later games.
  // set.levels is not empty; progress is not null
  SetPlay(PlayableSet set, std::shared_ptr<ProgressStore> progress);

  const PlayableSet& set() const { return m_set; }
  /// Where the progress is kept.
  const std::shared_ptr<ProgressStore>& progress() const { return m_progress; }
  int LevelCount() const { return static_cast<int>(m_set.levels.size()); }
  /// The level played, counted from 0.
  int Index() const { return m_index; }
  const SetLevelEntry& Current() const { return m_set.levels[static_cast<std::size_t>(m_index)]; }
  /// The level played, read and checked, ready for a GameState.
  Level CurrentLevel() const;

  /// Goes to the level at index; false, changing nothing, when there is no
  /// such level or it is the one played.
  bool GoTo(int index);
  bool Next() { return GoTo(m_index + 1); }
  bool Previous() { return GoTo(m_index - 1); }

  /// The fewest moves the level at index was solved in; nullopt when never.
  std::optional<int> FewestMoves(int index) const {
    return m_fewest[static_cast<std::size_t>(index)];
  }
  int SolvedCount() const;
  bool AllSolved() const { return SolvedCount() == LevelCount(); }

  /// Keeps the game's move count as the current level's fewest when the game
  /// has solved it in fewer moves than ever before (or for the first time).
  /// Every level of the set with the same canonical code shares it.
  // game plays the current level
  void Observe(const GameState& game);

  /// True once the store has failed to keep something the player achieved;
  /// what was achieved still counts while the game runs.
  bool ProgressUnsaved() const { return m_progressUnsaved; }

  /// Where Enter leads once the current level is solved: the next level; after
  /// the last, the first level not solved; nullopt when there is none.
  std::optional<int> NextToPlay() const;

 private:
  std::optional<int> FirstUnsolved() const;

  PlayableSet m_set;
  std::shared_ptr<ProgressStore> m_progress;
  std::vector<std::optional<int>> m_fewest;  // per level, as the store holds it or better
  int m_index = 0;
  bool m_progressUnsaved = false;
};

/// "Level k of n" with the level's title, then what the player has achieved:
/// "Solved, best 23 moves; 5 of 12 levels solved".
std::vector<GameText> SetTexts(const SetPlay& play);
std::vector<std::string> SetLines(const SetPlay& play);  // in English

/// Once the game has solved the current level, where to go on ("Press Enter
/// for level 4") or that the set is done; nothing before.
std::optional<GameText> OfferText(const SetPlay& play, const GameState& game);
std::string OfferLine(const SetPlay& play, const GameState& game);  // in English, or empty

/// What the window says about the level besides its status: that it has no
/// solution, that progress could not be saved.
std::vector<GameText> LevelNoticeTexts(const SetPlay& play, const GameState& game);
/// The same in English, lines joined by '\n', or empty.
std::string LevelNotice(const SetPlay& play, const GameState& game);
