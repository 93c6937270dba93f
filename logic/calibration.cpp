#include "logic/calibration.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
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

}  // namespace

double GradeParameters::Grade(const GradeMeasures& measures) const {
  double grade = intercept;
  for (std::size_t i = 0; i < weight.size() && i < measures.size(); ++i)
    grade += weight[i] * (measures[i] - mean[i]) / spread[i];
  return grade;
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
                                        const std::vector<double>& ratings) {
  if (measures.size() != ratings.size() || measures.empty()) return std::nullopt;
  const std::size_t count = measures[0].size();
  if (measures.size() < count + 2) return std::nullopt;
  const double n = static_cast<double>(measures.size());
  GradeParameters fit;
  fit.mean.assign(count, 0.0);
  fit.spread.assign(count, 0.0);
  for (const GradeMeasures& level : measures)
    for (std::size_t i = 0; i < count; ++i) fit.mean[i] += level.at(i) / n;
  for (const GradeMeasures& level : measures)
    for (std::size_t i = 0; i < count; ++i)
      fit.spread[i] += (level[i] - fit.mean[i]) * (level[i] - fit.mean[i]) / n;
  for (double& spread : fit.spread) spread = spread > 0.0 ? std::sqrt(spread) : 1.0;
  fit.intercept = std::accumulate(ratings.begin(), ratings.end(), 0.0) / n;

  // The normal equations of the standardised measures, centred ratings.
  std::vector<std::vector<double>> a(count, std::vector<double>(count, 0.0));
  std::vector<double> b(count, 0.0);
  for (std::size_t l = 0; l < measures.size(); ++l) {
    std::vector<double> z(count);
    for (std::size_t i = 0; i < count; ++i) z[i] = (measures[l][i] - fit.mean[i]) / fit.spread[i];
    for (std::size_t i = 0; i < count; ++i) {
      b[i] += z[i] * (ratings[l] - fit.intercept);
      for (std::size_t j = 0; j < count; ++j) a[i][j] += z[i] * z[j];
    }
  }
  for (std::size_t i = 0; i < count; ++i) a[i][i] += Ridge * n;
  fit.weight = Solve(a, b);
  return fit;
}

std::string WriteGradeParameters(const GradeParameters& parameters) {
  std::string text;
  char line[128];
  std::snprintf(line, sizeof line, "intercept %.9g\n", parameters.intercept);
  text += line;
  for (std::size_t i = 0; i < parameters.weight.size() && i < GradeMeasureCount; ++i) {
    std::snprintf(line, sizeof line, "%s %.9g %.9g %.9g\n", GradeMeasureNames[i],
                  parameters.mean[i], parameters.spread[i], parameters.weight[i]);
    text += line;
  }
  return text;
}

std::optional<GradeParameters> ReadGradeParameters(const std::string& text) {
  std::istringstream lines(text);
  GradeParameters parameters;
  std::string name;
  if (!(lines >> name) || name != "intercept" || !(lines >> parameters.intercept))
    return std::nullopt;
  for (const char* expected : GradeMeasureNames) {
    double mean = 0, spread = 0, weight = 0;
    if (!(lines >> name >> mean >> spread >> weight) || name != expected || !(spread > 0.0) ||
        !std::isfinite(mean) || !std::isfinite(weight))
      return std::nullopt;
    parameters.mean.push_back(mean);
    parameters.spread.push_back(spread);
    parameters.weight.push_back(weight);
  }
  return parameters;
}
