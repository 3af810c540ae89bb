// A straight line fitted by least squares to O-C against time, x = a + b (t - t0): the
// offset a at the reference epoch t0 and the drift b per year, with their uncertainties,
// covariance and correlation, the rms of the residuals and, for weighted points, chi^2
// per degree of freedom.  What a window shows as a fitted correction of a set of
// observations (window 3), for one coordinate at a time.
//
// Weights: when every point carries its uncertainty sigma, each weighs 1/sigma^2 and the
// covariance is the formal one, (A^T W A)^-1; when any point lacks it, all weigh the
// same and the covariance is scaled by the scatter of the residuals, s^2 = sum r^2 /
// (n - 2), as is usual when the measurement errors are unknown (two points leave no
// scatter to scale by: the uncertainties are then unknown, NaN).
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

namespace planova {

struct LinearFitPoint {
  double T = 0;      // the time of the point, years (Julian years: JD / 365.25 in any origin)
  double Value = 0;  // the O-C, in the unit of the fit (arcseconds in the windows)
  double Sigma = 0;  // its uncertainty in the same unit; 0 (or not finite): unknown
};

struct LinearFitRequest {
  std::vector<LinearFitPoint> Points;
  // t0 of the line, years; NaN: the plain mean of the points' times (the mean epoch of
  // the observations, where the offset and the drift are independent for equal weights).
  double ReferenceT = std::numeric_limits<double>::quiet_NaN();
};

enum class LinearFitStatus {
  kFitted,
  kTooFewPoints,  // fewer than two points
  kOneEpoch,      // every point at the same time: no drift can be fitted
};

struct LinearFitResult {
  LinearFitStatus Status = LinearFitStatus::kTooFewPoints;
  int32_t Count = 0;      // points fitted
  bool Weighted = false;  // 1/sigma^2 weights (every point had its sigma)
  double ReferenceT = 0;  // t0, years
  double Offset = 0;      // a: the line at t0
  double Drift = 0;       // b: per year
  // The uncertainties of a and b, their covariance and correlation coefficient; NaN when
  // unknown (two unweighted points).
  double OffsetSigma = 0, DriftSigma = 0, Covariance = 0, Correlation = 0;
  double Rms = 0;  // the root mean square of the residuals, sqrt(sum r^2 / n)
  // For weighted points: sum (r / sigma)^2 / (n - 2), near 1 when the sigmas are right;
  // NaN for equal weights or two points.
  double ChiSquarePerDof = std::numeric_limits<double>::quiet_NaN();

  bool Ok() const { return Status == LinearFitStatus::kFitted; }
  // The fitted line at time t (years).
  double At(double t) const { return Offset + Drift * (t - ReferenceT); }
};

// Given the points (at least two, at two or more times) and optionally t0; returned the
// line with its uncertainties, or the status of why there is none.
LinearFitResult FitLinearTrend(const LinearFitRequest& request);

}  // namespace planova
