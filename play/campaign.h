#pragma once
// The campaign and the level picker's rules: chapters read from the level-set
// files of a folder in the order of their names, where a player resumes, and
// what the picker shows of each level (solved, best against shortest, stars).

#include <optional>
#include <string>
#include <vector>

#include "play/set_play.h"
#include "play/set_progress.h"

struct CampaignChapter {
  std::string path;
  PlayableSet set;  // holds at least one level
};

/// The chapters of a campaign, in playing order.
struct Campaign {
  std::vector<CampaignChapter> chapters;
  bool Empty() const { return chapters.empty(); }
};

/// Reads every "*.txt" file of the folder, in the order of their names; a
/// file that cannot be read or holds no playable level is no chapter. An
/// empty campaign when the folder cannot be read.
Campaign ReadCampaign(const std::string& folder);

/// A level of the campaign: chapter and level, counted from 0.
struct CampaignPlace {
  int chapter = 0;
  int level = 0;
  friend bool operator==(const CampaignPlace&, const CampaignPlace&) = default;
};

/// Where a player resumes: the level played last while it is not solved,
/// else the first level not solved after it (the next chapters included),
/// else the first level not solved at all, else the very first.
// campaign is not empty
CampaignPlace ResumePlace(const Campaign& campaign, const ProgressStore& progress);

/// The picker's marks for a level: 0 not solved, 1 solved, 2 solved within
/// half as many moves again as the shortest, 3 solved in the fewest moves.
int Stars(std::optional<int> fewest, std::optional<int> shortest);

/// What the picker shows of one level.
struct PickerRow {
  int number = 0;               // from 1
  std::string title;            // may be empty
  std::optional<int> fewest;    // the player's fewest moves; none when never solved
  std::optional<int> shortest;  // the shortest solution's moves; none when it has none
  int stars = 0;
};

/// The rows of a chapter (or any set), with the shortest solution of each level.
std::vector<PickerRow> PickerRows(const PlayableSet& set, const ProgressStore& progress);

/// How many levels of the set the player has solved.
int SolvedLevels(const PlayableSet& set, const ProgressStore& progress);
