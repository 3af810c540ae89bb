#pragma once

#include <array>

namespace planova {

// The 42 lines of the help window's text, as UTF-8.
extern const std::array<const char*, 49> kHelpLines;

}  // namespace planova
