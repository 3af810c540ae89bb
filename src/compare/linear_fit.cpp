#include "compare/linear_fit.h"

#include <cmath>

namespace planova {

LinearFitResult FitLinearTrend(const LinearFitRequest& request) {
  LinearFitResult result;
  const std::vector<LinearFitPoint>& points = request.Points;
  const auto n = static_cast<int32_t>(points.size());
  result.Count = n;
  if (n < 2) return result;

  bool weighted = true;
  double meanT = 0;
  for (const LinearFitPoint& p : points) {
    weighted = weighted && std::isfinite(p.Sigma) && p.Sigma > 0;
    meanT += p.T;
  }
  meanT /= n;
  result.Weighted = weighted;
  result.ReferenceT = std::isfinite(request.ReferenceT) ? request.ReferenceT : meanT;
  const auto weight = [&](const LinearFitPoint& p) { return weighted ? 1 / (p.Sigma * p.Sigma) : 1.0; };

  // The normal equations in tau = t - t0.  The sums of tau are taken about the mean time
  // first and moved to t0 after, so that far from the data's epochs (t in years since
  // the era) they lose no digits to cancellation.
  double s = 0, st = 0, stt = 0, sy = 0, sty = 0;
  for (const LinearFitPoint& p : points) {
    const double w = weight(p), tau = p.T - meanT;
    s += w;
    st += w * tau;
    stt += w * tau * tau;
    sy += w * p.Value;
    sty += w * tau * p.Value;
  }
  const double shift = meanT - result.ReferenceT;  // tau about t0 = tau about the mean + shift
  stt += 2 * shift * st + shift * shift * s;
  sty += shift * sy;
  st += shift * s;
  const double det = s * stt - st * st;
  if (!(det > 0) || !(stt > 0)) {
    result.Status = LinearFitStatus::kOneEpoch;
    return result;
  }
  result.Status = LinearFitStatus::kFitted;
  result.Drift = (s * sty - st * sy) / det;
  result.Offset = (stt * sy - st * sty) / det;

  double sumR2 = 0, chi2 = 0;
  for (const LinearFitPoint& p : points) {
    const double r = p.Value - result.At(p.T);
    sumR2 += r * r;
    chi2 += weight(p) * r * r;
  }
  result.Rms = std::sqrt(sumR2 / n);
  const int32_t dof = n - 2;
  double scale = 1;  // of the formal covariance
  if (weighted) {
    if (dof > 0) result.ChiSquarePerDof = chi2 / dof;
  } else {
    scale = dof > 0 ? sumR2 / dof : std::numeric_limits<double>::quiet_NaN();
  }
  const double varA = scale * stt / det, varB = scale * s / det;
  result.Covariance = -scale * st / det;
  result.OffsetSigma = std::sqrt(varA);
  result.DriftSigma = std::sqrt(varB);
  // The correlation does not depend on the scale; it is unknown only with the scale.
  result.Correlation = std::isfinite(scale) ? -st / std::sqrt(s * stt) : std::numeric_limits<double>::quiet_NaN();
  return result;
}

}  // namespace planova
