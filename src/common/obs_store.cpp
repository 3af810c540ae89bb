#include "common/obs_store.h"

#include "common/numtext.h"

namespace planova {

bool ObservationStore::RecreateFromText(const std::string& text) {
  int32_t n = 0;
  if (!TryParseInt32(text, n) || n <= 0 || n > kMaxObsCapacity) return false;
  ObservationStore fresh;
  fresh.Recreate(n);
  ObsJd = std::move(fresh.ObsJd);
  ObsLon = std::move(fresh.ObsLon);
  ObsLat = std::move(fresh.ObsLat);
  ObsNote = std::move(fresh.ObsNote);
  ObsCapacity = n;
  return true;
}

}  // namespace planova
