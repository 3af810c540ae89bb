#include "common/name_part.h"

namespace planova {

bool IsPlainNamePart(std::string_view part) {
  return part.find_first_of("/\\") == std::string_view::npos && part.find("..") == std::string_view::npos;
}

}  // namespace planova
