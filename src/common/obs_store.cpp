#include "common/obs_store.h"

#include "common/numtext.h"
#include "common/textfile.h"

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
  ObsStation = std::move(fresh.ObsStation);
  ObsExactTime = std::move(fresh.ObsExactTime);
  ObsSigmaRa.Clear();
  ObsSigmaDec.Clear();
  ObsCapacity = n;
  return true;
}

std::string ObservationStore::ObserverCode(int32_t i, int k) const {
  const StationCode& station = ObsStation(i, k);
  return station.empty() ? ObservatoryCode : Cp1251ToUtf8(station.view());
}

}  // namespace planova
