// Until the SPK reader is built in: no kernel opens.
#include <string>

#include "astro/jpl_ascii.h"
#include "common/textfile.h"

namespace planova {

std::unique_ptr<JplEphemeris> OpenSpkEphemeris(const std::filesystem::path& path, std::string* refusal) {
  if (refusal) *refusal = PathText(path) + ": ядра SPK не читаются";
  return nullptr;
}

}  // namespace planova
