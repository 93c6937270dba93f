#include "logic/calibration.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <sstream>

#include "logic/seeded_random.h"

namespace {

std::vector<double> Ranks(const std::vector<double>& values) {
  std::vector<std::size_t> order(values.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
  std::vector<double> ranks(values.size());
  for (std::size_t i = 0; i < order.size();) {
    std::size_t j = i;
    while (j + 1 < order.size() && values[order[j + 1]] == values[order[i]]) ++j;
    const double rank = (static_cast<double>(i) + static_cast<double>(j)) / 2.0;
    for (std::size_t k = i; k <= j; ++k) ranks[order[k]] = rank;
    i = j + 1;
  }
  return ranks;
}

double Pearson(const std::vector<double>& x, const std::vector<double>& y) {
  const double n = static_cast<double>(x.size());
  const double mx = std::accumulate(x.begin(), x.end(), 0.0) / n;
  const double my = std::accumulate(y.begin(), y.end(), 0.0) / n;
  double sxy = 0.0, sxx = 0.0, syy = 0.0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    sxy += (x[i] - mx) * (y[i] - my);
    sxx += (x[i] - mx) * (x[i] - mx);
    syy += (y[i] - my) * (y[i] - my);
  }
  if (sxx == 0.0 || syy == 0.0) return 0.0;
  return sxy / std::sqrt(sxx * syy);
}

/// Solves the square system a x = b by Gaussian elimination with pivoting.
std::vector<double> Solve(std::vector<std::vector<double>> a, std::vector<double> b) {
  const std::size_t n = b.size();
  for (std::size_t column = 0; column < n; ++column) {
    std::size_t pivot = column;
    for (std::size_t row = column + 1; row < n; ++row)
      if (std::fabs(a[row][column]) > std::fabs(a[pivot][column])) pivot = row;
    std::swap(a[column], a[pivot]);
    std::swap(b[column], b[pivot]);
    for (std::size_t row = column + 1; row < n; ++row) {
      const double factor = a[row][column] / a[column][column];
      for (std::size_t k = column; k < n; ++k) a[row][k] -= factor * a[column][k];
      b[row] -= factor * b[column];
    }
  }
  std::vector<double> x(n);
  for (std::size_t row = n; row-- > 0;) {
    double sum = b[row];
    for (std::size_t k = row + 1; k < n; ++k) sum -= a[row][k] * x[k];
    x[row] = sum / a[row][row];
  }
  return x;
}

/// Keeps measures that move together from trading huge opposite weights.
constexpr double Ridge = 0.01;

/// The terms the grade weighs, in the order of its weights: the moves, the
/// counter-intuitive steps, the doublings of the greedy effort and, taken
/// off, the doublings of the shortest solutions.
constexpr std::size_t TermCount = 4;
using Terms = std::array<double, TermCount>;

Terms TermsOf(const GradeMeasures& measures) {
  return {measures.at(0), measures.at(2), std::log2(std::max(measures.at(3), 1.0)),
          -std::log2(std::max(measures.at(1), 1.0))};
}

double Mean(const std::vector<double>& values) {
  return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double Spread(const std::vector<double>& values) {
  const double mean = Mean(values);
  double sum = 0.0;
  for (double value : values) sum += (value - mean) * (value - mean);
  return std::sqrt(sum / static_cast<double>(values.size()));
}

/// The weight of each term, in rating points per unit, by least squares on
/// the standardised terms (a term that never varies weighs nothing).
Terms RatingWeights(const std::vector<Terms>& terms, const std::vector<double>& ratings) {
  const double n = static_cast<double>(terms.size());
  Terms mean{}, spread{};
  for (const Terms& level : terms)
    for (std::size_t i = 0; i < TermCount; ++i) mean[i] += level[i] / n;
  for (const Terms& level : terms)
    for (std::size_t i = 0; i < TermCount; ++i)
      spread[i] += (level[i] - mean[i]) * (level[i] - mean[i]) / n;
  for (double& value : spread) value = value > 0.0 ? std::sqrt(value) : 0.0;
  const double meanRating = Mean(ratings);

  // The normal equations of the standardised terms and the centred ratings.
  std::vector<std::vector<double>> a(TermCount, std::vector<double>(TermCount, 0.0));
  std::vector<double> b(TermCount, 0.0);
  for (std::size_t l = 0; l < terms.size(); ++l) {
    Terms z{};
    for (std::size_t i = 0; i < TermCount; ++i)
      z[i] = spread[i] > 0.0 ? (terms[l][i] - mean[i]) / spread[i] : 0.0;
    for (std::size_t i = 0; i < TermCount; ++i) {
      b[i] += z[i] * (ratings[l] - meanRating);
      for (std::size_t j = 0; j < TermCount; ++j) a[i][j] += z[i] * z[j];
    }
  }
  for (std::size_t i = 0; i < TermCount; ++i) a[i][i] += Ridge * n;
  const std::vector<double> standardised = Solve(a, b);
  Terms weights{};
  for (std::size_t i = 0; i < TermCount; ++i)
    weights[i] = spread[i] > 0.0 ? standardised[i] / spread[i] : 0.0;
  return weights;
}

/// The names of the parameters in the file, each with its field.
struct WeightName {
  const char* name;
  double GradeParameters::*field;
};
constexpr WeightName WeightNames[] = {
    {"perMove", &GradeParameters::perMove},
    {"perCounterIntuitiveStep", &GradeParameters::perCounterIntuitiveStep},
    {"perEffortDoubling", &GradeParameters::perEffortDoubling},
    {"perSolutionsDoubling", &GradeParameters::perSolutionsDoubling},
    {"offset", &GradeParameters::offset},
};
struct ThresholdName {
  const char* name;
  int GradeParameters::*field;
};
constexpr ThresholdName ThresholdNames[] = {
    {"normalFrom", &GradeParameters::normalFrom},
    {"hardFrom", &GradeParameters::hardFrom},
    {"expertFrom", &GradeParameters::expertFrom},
};
/// Far above any level's points; a threshold beyond it is no grade at all.
constexpr double MostPoints = 1e6;
/// A parameters file is a dozen short lines; anything much longer is not one.
constexpr std::size_t MostFileBytes = 64 * 1024;

}  // namespace

double GradePoints(const GradeMeasures& measures, const GradeParameters& parameters) {
  return GradeSum(measures.at(0), measures.at(2), measures.at(3), measures.at(1), parameters);
}

double RankCorrelation(const std::vector<double>& x, const std::vector<double>& y) {
  if (x.size() != y.size() || x.size() < 2) return 0.0;
  return Pearson(Ranks(x), Ranks(y));
}

Interval BootstrapInterval(const std::vector<double>& x, const std::vector<double>& y, int rounds,
                           std::uint64_t seed) {
  if (x.size() != y.size() || x.size() < 2 || rounds < 1) return {};
  SeededRandom random(seed);
  std::vector<double> found;
  std::vector<double> sx(x.size()), sy(y.size());
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i < x.size(); ++i) {
      const std::size_t pick = static_cast<std::size_t>(random.Next() % x.size());
      sx[i] = x[pick];
      sy[i] = y[pick];
    }
    found.push_back(RankCorrelation(sx, sy));
  }
  std::sort(found.begin(), found.end());
  const auto at = [&](double share) {
    return found[static_cast<std::size_t>(share * static_cast<double>(found.size() - 1))];
  };
  return {at(0.025), at(0.975)};
}

std::optional<GradeParameters> FitGrade(const std::vector<GradeMeasures>& measures,
                                        const std::vector<double>& ratings,
                                        const GradeParameters& current) {
  if (measures.size() != ratings.size() || measures.size() < GradeMeasureCount + 2)
    return std::nullopt;
  std::vector<Terms> terms;
  for (const GradeMeasures& level : measures) terms.push_back(TermsOf(level));
  const Terms weights = RatingWeights(terms, ratings);

  // The fitted sums are in rating points; the grade's points keep the mean
  // and spread of the current grade's on the same levels, so that its
  // thresholds still mean what they meant.
  std::vector<double> fitted, before;
  for (std::size_t l = 0; l < terms.size(); ++l) {
    double sum = 0.0;
    for (std::size_t i = 0; i < TermCount; ++i) sum += weights[i] * terms[l][i];
    fitted.push_back(sum);
    before.push_back(GradePoints(measures[l], current));
  }
  const double fittedSpread = Spread(fitted);
  if (!(fittedSpread > 1e-9) || !std::isfinite(fittedSpread)) return std::nullopt;
  const double targetSpread = Spread(before) > 0.0 ? Spread(before) : 1.0;
  const double scale = targetSpread / fittedSpread;
  GradeParameters fit = current;
  fit.perMove = scale * weights[0];
  fit.perCounterIntuitiveStep = scale * weights[1];
  fit.perEffortDoubling = scale * weights[2];
  fit.perSolutionsDoubling = scale * weights[3];
  fit.offset = Mean(before) - scale * Mean(fitted);
  return fit;
}

std::string WriteGradeParameters(const GradeParameters& parameters) {
  std::string text = "# The difficulty grade's parameters (korvalo-level calibrate)\n";
  char line[128];
  for (const WeightName& weight : WeightNames) {
    std::snprintf(line, sizeof line, "%s %.17g\n", weight.name, parameters.*weight.field);
    text += line;
  }
  for (const ThresholdName& threshold : ThresholdNames)
    text += std::string(threshold.name) + ' ' + std::to_string(parameters.*threshold.field) + '\n';
  return text;
}

std::optional<GradeParameters> ReadGradeParameters(const std::string& text) {
  std::map<std::string, double> values;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, rest;
    double value = 0.0;
    if (!(fields >> name >> value) || (fields >> rest) || !std::isfinite(value) ||
        !values.emplace(name, value).second)
      return std::nullopt;
  }
  GradeParameters parameters;
  if (values.size() != std::size(WeightNames) + std::size(ThresholdNames)) return std::nullopt;
  for (const WeightName& weight : WeightNames) {
    const auto found = values.find(weight.name);
    if (found == values.end() || std::fabs(found->second) > MostPoints) return std::nullopt;
    parameters.*weight.field = found->second;
  }
  double least = 1.0;
  for (const ThresholdName& threshold : ThresholdNames) {
    const auto found = values.find(threshold.name);
    if (found == values.end() || found->second < least || found->second > MostPoints ||
        found->second != std::floor(found->second))
      return std::nullopt;
    parameters.*threshold.field = static_cast<int>(found->second);
    least = found->second + 1.0;
  }
  return parameters;
}

std::string InstalledGradeParametersPath(const char* configHome, const char* home) {
  std::string folder;
  if (configHome != nullptr && configHome[0] == '/')
    folder = configHome;
  else if (home != nullptr && home[0] == '/')
    folder = std::string(home) + "/.config";
  else
    return {};
  return folder + "/korvalo/grade_parameters.txt";
}

std::variant<GradeParameters, GradeParametersError> LoadGradeParameters(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return GradeParametersError{"cannot read the grade's parameters from " + path};
  std::string text(MostFileBytes + 1, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (file.bad()) return GradeParametersError{"cannot read the grade's parameters from " + path};
  text.resize(static_cast<std::size_t>(file.gcount()));
  std::optional<GradeParameters> read;
  if (text.size() <= MostFileBytes) read = ReadGradeParameters(text);
  if (!read)
    return GradeParametersError{
        path + " holds no grade parameters as korvalo-level calibrate writes them"};
  return *read;
}

std::variant<GradeParameters, GradeParametersError> ChosenGradeParameters(
    const std::string& named, const std::string& installed) {
  if (!named.empty()) return LoadGradeParameters(named);
  if (installed.empty()) return GradeParameters{};
  // Only a file that is not there gives the defaults; one that is there but
  // cannot be read or used is said.
  if (std::FILE* probe = std::fopen(installed.c_str(), "rb")) {
    std::fclose(probe);
  } else if (errno == ENOENT || errno == ENOTDIR) {
    return GradeParameters{};
  }
  return LoadGradeParameters(installed);
}

GradeParametersInUse InstalledOrDefaultGradeParameters(const std::string& installed) {
  auto chosen = ChosenGradeParameters({}, installed);
  if (const auto* error = std::get_if<GradeParametersError>(&chosen)) return {{}, error->reason};
  return {std::get<GradeParameters>(chosen), {}};
}
