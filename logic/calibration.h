#pragma once
// Fitting the difficulty grade (logic/level_grade.h) to how people fare: the
// grade's weights are chosen so that its points best predict the players'
// ratings of settled levels (least squares, with a small ridge, on the
// standardised terms the grade adds up), then scaled and placed so that the
// points keep the mean and spread the default grade gives the same levels,
// and with them the meaning of the grades' thresholds, which stay as they
// are. Rank correlations (Spearman's) with bootstrap intervals say how well
// each measure, and the fit, orders the levels.
//
// The fitted parameters are kept as text, one "name value" line each, in the
// file the grade reads when it is installed (InstalledGradeParametersPath) or
// named.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "logic/level_grade.h"

/// The computed measures calibration reads, in this order (the columns of
/// the administrator's export).
inline constexpr const char* GradeMeasureNames[] = {"moves", "solutions", "counter_intuitive",
                                                    "greedy_effort"};
inline constexpr std::size_t GradeMeasureCount = 4;

/// A level's computed measures, in the order of GradeMeasureNames.
using GradeMeasures = std::vector<double>;

/// The unrounded points of a level's measures under the parameters.
double GradePoints(const GradeMeasures& measures, const GradeParameters& parameters);

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

/// The grade's weights and offset fitted to the ratings of the levels with
/// these measures; the thresholds are those of `current`. Nullopt with fewer
/// levels than measures plus two, or when the fit cannot tell the levels
/// apart (every level gets the same points).
std::optional<GradeParameters> FitGrade(const std::vector<GradeMeasures>& measures,
                                        const std::vector<double>& ratings,
                                        const GradeParameters& current = {});

/// The parameters as text, one "name value" line each, and read back: every
/// name once, finite weights, thresholds rising from 1; nullopt otherwise.
std::string WriteGradeParameters(const GradeParameters& parameters);
std::optional<GradeParameters> ReadGradeParameters(const std::string& text);

/// Where the fitted parameters are installed for the user: grade_parameters.txt
/// in the "korvalo" folder of XDG_CONFIG_HOME, or of HOME's .config when that
/// is unset; empty when neither is set. The values are the environment's.
std::string InstalledGradeParametersPath(const char* configHome, const char* home);

/// Why a parameters file cannot be used, naming it.
struct GradeParametersError {
  std::string reason;
};

/// The parameters of the file at `path`.
std::variant<GradeParameters, GradeParametersError> LoadGradeParameters(const std::string& path);

/// The parameters the grade uses: those of the file `named` when it is not
/// empty, else those installed at `installed` when that file exists, else the
/// defaults. A named or installed file that cannot be read is an error, not
/// the defaults: a grade must not silently change its rule.
std::variant<GradeParameters, GradeParametersError> ChosenGradeParameters(
    const std::string& named, const std::string& installed);

/// The parameters a program grades with from its start, and why the
/// installed file was passed over (empty when it was not).
struct GradeParametersInUse {
  GradeParameters parameters;
  std::string problem;
};

/// The parameters installed at `installed` when that file exists and can be
/// used, else the defaults: a program that shows grades starts whatever the
/// file holds, and says the problem once.
GradeParametersInUse InstalledOrDefaultGradeParameters(const std::string& installed);
