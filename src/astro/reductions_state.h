// Module-wide state of the precession and nutation reductions.  Part of AstroState.
#pragma once

namespace planova {

struct ReductionState {};

}  // namespace planova
