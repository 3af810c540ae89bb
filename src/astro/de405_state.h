// Module-wide state of the DE405 ephemeris reader (record layout, coefficient record,
// raw states).  Part of AstroState.
#pragma once

namespace planova {

struct De405State {};

}  // namespace planova
