#pragma once

#include <array>

namespace planova {

// The 55 lines of the help window's text, as UTF-8.
extern const std::array<const char*, 55> kHelpLines;

}  // namespace planova
