// Module-wide state of the two-body planet theory and the lunar series.  Part of AstroState.
#pragma once

namespace planova {

struct OrbitState {};

}  // namespace planova
