#include "play/campaign.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "logic/level_code.h"
#include "logic/solver.h"
#include "play/set_start.h"

namespace {

bool Solved(const PlayableSet& set, int level, const ProgressStore& progress) {
  return progress.FewestMoves(set.levels[static_cast<std::size_t>(level)].canonicalCode)
      .has_value();
}

/// The first level not solved from place on, to the end of the campaign.
std::optional<CampaignPlace> FirstUnsolvedFrom(const Campaign& campaign, CampaignPlace place,
                                               const ProgressStore& progress) {
  for (int c = place.chapter; c < static_cast<int>(campaign.chapters.size()); ++c) {
    const PlayableSet& set = campaign.chapters[static_cast<std::size_t>(c)].set;
    for (int l = c == place.chapter ? place.level : 0; l < static_cast<int>(set.levels.size());
         ++l) {
      if (!Solved(set, l, progress)) return CampaignPlace{c, l};
    }
  }
  return std::nullopt;
}

std::optional<CampaignPlace> PlaceOf(const Campaign& campaign, const std::string& canonicalCode) {
  for (std::size_t c = 0; c < campaign.chapters.size(); ++c) {
    const std::vector<SetLevelEntry>& levels = campaign.chapters[c].set.levels;
    for (std::size_t l = 0; l < levels.size(); ++l) {
      if (levels[l].canonicalCode == canonicalCode)
        return CampaignPlace{static_cast<int>(c), static_cast<int>(l)};
    }
  }
  return std::nullopt;
}

}  // namespace

Campaign ReadCampaign(const std::string& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  Campaign campaign;
  for (const std::filesystem::path& file : files) {
    const SetFileReading reading = ReadSetFile(file.string());
    if (!reading.text) continue;
    PlayableSet set = PrepareSet(*reading.text);
    if (!set.levels.empty()) campaign.chapters.push_back({file.string(), std::move(set)});
  }
  return campaign;
}

CampaignPlace ResumePlace(const Campaign& campaign, const ProgressStore& progress) {
  if (const std::optional<CampaignPlace> last = PlaceOf(campaign, progress.LastPlayed())) {
    if (const std::optional<CampaignPlace> next = FirstUnsolvedFrom(campaign, *last, progress))
      return *next;
  }
  return FirstUnsolvedFrom(campaign, {0, 0}, progress).value_or(CampaignPlace{});
}

int Stars(std::optional<int> fewest, std::optional<int> shortest) {
  if (!fewest) return 0;
  if (!shortest || *fewest <= *shortest) return 3;
  // Within half as many moves again, rounded up.
  return 2 * *fewest <= 3 * *shortest + 1 ? 2 : 1;
}

std::vector<PickerRow> PickerRows(const PlayableSet& set, const ProgressStore& progress) {
  std::vector<PickerRow> rows;
  Level level;
  for (const SetLevelEntry& entry : set.levels) {
    PickerRow row;
    row.number = static_cast<int>(rows.size()) + 1;
    row.title = entry.title;
    row.fewest = progress.FewestMoves(entry.canonicalCode);
    if (ParseLevelCode(level, entry.code).accepted) {
      const Solution solution = ShortestSolution(level);
      if (solution.exists) row.shortest = static_cast<int>(solution.moves.size());
    }
    row.stars = Stars(row.fewest, row.shortest);
    rows.push_back(std::move(row));
  }
  return rows;
}

int SolvedLevels(const PlayableSet& set, const ProgressStore& progress) {
  int solved = 0;
  for (int l = 0; l < static_cast<int>(set.levels.size()); ++l) solved += Solved(set, l, progress);
  return solved;
}
