// Module-wide state of the precession and nutation reductions.  A base of AstroState.
#pragma once

#include <array>

namespace planova {

struct ReductionState {
  // The current rotation: RotationMatrix[i][j] is the element of row i + 1, column j + 1;
  // it turns a column vector, v' = M v.
  // Written by EclipticPrecessionMatrix and EquatorialPrecessionMatrix, read by
  // ApplyMatrix; it stays valid until the next matrix routine runs.
  std::array<std::array<double, 3>, 3> RotationMatrix{};
};

}  // namespace planova
