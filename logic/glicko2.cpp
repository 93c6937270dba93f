#include "logic/glicko2.h"

#include <algorithm>
#include <cmath>

namespace {

/// The factor between the Glicko scale and Glicko-2's.
constexpr double Scale = 173.7178;
/// Where the volatility's iteration stops.
constexpr double Convergence = 0.000001;
/// The iteration converges in a few dozen steps; this bounds a hostile input.
constexpr int MostIterations = 100;
constexpr double Pi = 3.14159265358979323846;

double G(double phi) { return 1.0 / std::sqrt(1.0 + 3.0 * phi * phi / (Pi * Pi)); }

double Expected(double mu, double muOpponent, double phiOpponent) {
  return 1.0 / (1.0 + std::exp(-G(phiOpponent) * (mu - muOpponent)));
}

/// Step 5: the new volatility, by the Illinois algorithm.
double NewVolatility(double phi, double sigma, double delta, double v, double tau) {
  const double a = std::log(sigma * sigma);
  const auto f = [&](double x) {
    const double ex = std::exp(x);
    const double denominator = phi * phi + v + ex;
    return ex * (delta * delta - phi * phi - v - ex) / (2.0 * denominator * denominator) -
           (x - a) / (tau * tau);
  };
  double A = a;
  double B;
  if (delta * delta > phi * phi + v) {
    B = std::log(delta * delta - phi * phi - v);
  } else {
    int k = 1;
    while (f(a - k * tau) < 0 && k < MostIterations) ++k;
    B = a - k * tau;
  }
  double fA = f(A);
  double fB = f(B);
  for (int i = 0; i < MostIterations && std::fabs(B - A) > Convergence; ++i) {
    const double C = A + (A - B) * fA / (fB - fA);
    const double fC = f(C);
    if (fC * fB <= 0) {
      A = B;
      fA = fB;
    } else {
      fA /= 2.0;
    }
    B = C;
    fB = fC;
  }
  return std::exp(A / 2.0);
}

}  // namespace

Rating Glicko2Update(const Rating& player, const std::vector<RatedGame>& games, double tau) {
  const double mu = (player.rating - 1500.0) / Scale;
  const double phi = player.deviation / Scale;
  const double sigma = player.volatility;
  if (games.empty()) {
    const double widened = std::sqrt(phi * phi + sigma * sigma);
    return {player.rating, widened * Scale, sigma};
  }
  double inverseV = 0.0;
  double sum = 0.0;
  for (const RatedGame& game : games) {
    const double muJ = (game.opponent.rating - 1500.0) / Scale;
    const double phiJ = game.opponent.deviation / Scale;
    const double g = G(phiJ);
    const double e = Expected(mu, muJ, phiJ);
    inverseV += g * g * e * (1.0 - e);
    sum += g * (game.score - e);
  }
  const double v = 1.0 / inverseV;
  const double delta = v * sum;
  const double newSigma = NewVolatility(phi, sigma, delta, v, tau);
  const double phiStar = std::sqrt(phi * phi + newSigma * newSigma);
  const double newPhi = 1.0 / std::sqrt(1.0 / (phiStar * phiStar) + 1.0 / v);
  const double newMu = mu + newPhi * newPhi * sum;
  return {newMu * Scale + 1500.0, newPhi * Scale, newSigma};
}

Rating BoundedUpdate(const Rating& player, const std::vector<RatedGame>& games) {
  Rating updated = Glicko2Update(player, games, Tau);
  if (!std::isfinite(updated.rating) || !std::isfinite(updated.deviation) ||
      !std::isfinite(updated.volatility))
    return player;
  updated.rating = std::clamp(updated.rating, player.rating - LargestRatingChange,
                              player.rating + LargestRatingChange);
  updated.rating = std::clamp(updated.rating, LowestRating, HighestRating);
  updated.deviation = std::clamp(updated.deviation, LowestDeviation, StartDeviation);
  updated.volatility = std::clamp(updated.volatility, LowestVolatility, HighestVolatility);
  return updated;
}
