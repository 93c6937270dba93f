#pragma once
// Fitting the difficulty grade to how people fare: the grade is a weighted
// sum of a level's computed measures, and calibration chooses the weights
// that best predict the players' ratings of settled levels (least squares
// on standardised measures). Rank correlations (Spearman's) with bootstrap
// intervals say how well each measure, and the fit, orders the levels.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// The computed measures the grade reads, in this order.
inline constexpr const char* GradeMeasureNames[] = {"moves", "solutions", "counter_intuitive",
                                                    "greedy_effort"};
inline constexpr std::size_t GradeMeasureCount = 4;

/// A level's computed measures, in the order of GradeMeasureNames.
using GradeMeasures = std::vector<double>;

/// The grade's parameters: grade = intercept + sum of weight * (measure - mean) / spread.
struct GradeParameters {
  double intercept = 0.0;
  std::vector<double> mean;
  std::vector<double> spread;
  std::vector<double> weight;

  double Grade(const GradeMeasures& measures) const;
};

/// Spearman's rank correlation (ties take their mean rank); 0 when either
/// side is constant or there are fewer than two pairs.
double RankCorrelation(const std::vector<double>& x, const std::vector<double>& y);

struct Interval {
  double low = 0.0;
  double high = 0.0;
};

/// The 95% bootstrap interval of the rank correlation: `rounds` resamples of
/// the pairs, drawn with the seed.
Interval BootstrapInterval(const std::vector<double>& x, const std::vector<double>& y, int rounds,
                           std::uint64_t seed);

/// The least-squares fit of the ratings by the measures (a small ridge keeps
/// measures that move together from running away); nullopt with fewer levels
/// than measures plus two.
std::optional<GradeParameters> FitGrade(const std::vector<GradeMeasures>& measures,
                                        const std::vector<double>& ratings);

/// The parameters as text, one "name value" line each, and read back.
std::string WriteGradeParameters(const GradeParameters& parameters);
std::optional<GradeParameters> ReadGradeParameters(const std::string& text);
