#include "common/obs_store.h"

#include "common/numtext.h"
#include "common/textfile.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace planova {

namespace {
// Blocks from this size up are mapped from the system rather than taken from the heap,
// whose reused memory calloc would have to clear (and so write) at once.
constexpr size_t kMappedFrom = 256 * 1024;
}  // namespace

ZeroedBlock::ZeroedBlock(size_t bytes) : bytes_(bytes) {
  if (bytes == 0) return;
  if (bytes >= kMappedFrom) {
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    data_ = p;
    mapped_ = true;
  } else {
    data_ = std::calloc(bytes, 1);
    if (!data_) throw std::bad_alloc();
  }
}

ZeroedBlock::ZeroedBlock(const ZeroedBlock& other) : ZeroedBlock(other.bytes_) {
  if (bytes_ > 0) std::memcpy(data_, other.data_, bytes_);
}

ZeroedBlock& ZeroedBlock::operator=(const ZeroedBlock& other) {
  if (this != &other) *this = ZeroedBlock(other);
  return *this;
}

ZeroedBlock::~ZeroedBlock() {
  if (!data_) return;
  if (mapped_) {
    ::munmap(data_, bytes_);
  } else {
    std::free(data_);
  }
}

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
