#pragma once
// Glicko-2 ratings (Glickman, "Example of the Glicko-2 system"): a rating, its
// deviation (how uncertain it is) and its volatility (how erratic). The site
// rates a level against the sessions that play it: a first attempt solved is
// a win for the player, given up a win for the level, so hard levels rise.

#include <vector>

/// Where every level and every session starts.
inline constexpr double StartRating = 1500.0;
inline constexpr double StartDeviation = 350.0;
inline constexpr double StartVolatility = 0.06;
/// How much the volatility may change per update. Glickman suggests 0.3 to
/// 1.2; puzzles do not change once published, so the low end of the range
/// the site was asked for (0.5 to 0.75) keeps the volatility steady.
inline constexpr double Tau = 0.5;
/// A rating whose deviation is below this counts as settled.
inline constexpr double SettledDeviation = 110.0;

/// Cut-offs against runaway updates: a forged or freak result moves a rating
/// at most this far, and no figure leaves these bounds.
inline constexpr double LowestRating = 0.0;
inline constexpr double HighestRating = 4000.0;
inline constexpr double LargestRatingChange = 700.0;
inline constexpr double LowestDeviation = 30.0;
inline constexpr double LowestVolatility = 0.01;
inline constexpr double HighestVolatility = 0.15;

struct Rating {
  double rating = StartRating;
  double deviation = StartDeviation;
  double volatility = StartVolatility;
};

/// One game of a rating period: the opponent as rated before it, and the
/// score (1 won, 0 lost, 0.5 drawn).
struct RatedGame {
  Rating opponent;
  double score = 0.0;
};

/// The rating after one rating period with these games, by Glickman's steps
/// with the constant `tau`, without the cut-offs. A period without games only
/// widens the deviation.
Rating Glicko2Update(const Rating& player, const std::vector<RatedGame>& games, double tau);

/// The same update held within the cut-offs above, with the site's Tau.
Rating BoundedUpdate(const Rating& player, const std::vector<RatedGame>& games);

/// Whether the rating is settled (its deviation below SettledDeviation).
inline bool IsSettled(const Rating& rating) { return rating.deviation < SettledDeviation; }
