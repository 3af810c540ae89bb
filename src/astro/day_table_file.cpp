#include "astro/day_table_file.h"

#include <erfa.h>
#include <erfaextra.h>
#include <erfam.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "astro/astro_state.h"
#include "common/textfile.h"

namespace planova {

namespace {

constexpr char kName[] = "Planova3 days 1\n";  // the format and its version
constexpr size_t kNameBytes = sizeof kName - 1;
constexpr size_t kErfaBytes = 32;
constexpr double kByteOrderCheck = 1.5;
constexpr size_t kColumns = 3;  // dpsi, deps, TDB-TT
constexpr size_t kHeadingBytes = kNameBytes + kErfaBytes + sizeof(double) + sizeof(uint64_t);
constexpr size_t kBlockBytes = sizeof(int64_t) + kNutationChunk * kColumns * sizeof(double);

uint64_t Fnv1a(std::string_view bytes) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

template <class T>
void Put(std::string& out, T value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T>
T Get(const char* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

// ERFA's version as the heading holds it: its text, NUL-padded.
std::string ErfaField() {
  std::string field(kErfaBytes, '\0');
  const std::string_view version = eraVersion();
  field.replace(0, std::min(version.size(), kErfaBytes), version.substr(0, kErfaBytes));
  return field;
}

bool SameBits(double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; }

bool ReadFile(const std::filesystem::path& path, std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buffer[1 << 16];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
  const bool ok = std::ferror(f) == 0;
  std::fclose(f);
  return ok;
}

// Whether the bytes are a whole file of this format, ERFA and byte order whose first day
// is what the series give now; `blocks` their count.
bool ChecksOut(const std::string& bytes, uint64_t& blocks) {
  if (bytes.size() < kHeadingBytes + sizeof(uint64_t)) return false;
  const char* p = bytes.data();
  if (std::memcmp(p, kName, kNameBytes) != 0 || bytes.compare(kNameBytes, kErfaBytes, ErfaField()) != 0 ||
      !SameBits(Get<double>(p + kNameBytes + kErfaBytes), kByteOrderCheck)) {
    return false;
  }
  blocks = Get<uint64_t>(p + kNameBytes + kErfaBytes + sizeof(double));
  if (blocks > (bytes.size() - kHeadingBytes) / kBlockBytes) return false;
  const size_t body = kHeadingBytes + static_cast<size_t>(blocks) * kBlockBytes;
  if (bytes.size() != body + sizeof(uint64_t) ||
      Get<uint64_t>(p + body) != Fnv1a(std::string_view(bytes).substr(0, body))) {
    return false;
  }
  // The first day computed: a library that gives other numbers now makes the file stale.
  for (size_t b = 0; b < blocks; ++b) {
    const char* block = p + kHeadingBytes + b * kBlockBytes;
    const int64_t index = Get<int64_t>(block);
    for (size_t d = 0; d < kNutationChunk; ++d) {
      const char* values = block + sizeof(int64_t) + d * kColumns * sizeof(double);
      if (std::isnan(Get<double>(values))) continue;
      double now[kColumns];
      ComputeDay(index * kNutationChunk + static_cast<int64_t>(d), now[0], now[1], now[2]);
      for (size_t c = 0; c < kColumns; ++c) {
        if (!SameBits(now[c], Get<double>(values + c * sizeof(double)))) return false;
      }
      return true;
    }
  }
  return true;
}

}  // namespace

void ComputeDay(int64_t day, double& dpsi, double& deps, double& tdbMinusTt) {
  const double date2 = static_cast<double>(day) - ERFA_DJ00;
  eraNut06a(ERFA_DJ00, date2, &dpsi, &deps);
  // Geocentric: the terms of the observer's place vanish, and with them the UT.
  tdbMinusTt = eraDtdb(ERFA_DJ00, date2, 0, 0, 0, 0);
}

std::filesystem::path DayTableFile(const std::filesystem::path& appFolder) {
  return AppPath(appFolder, "NutationDays.bin");
}

namespace {

// Adds the days of a file that checks out to the table, those of the application folder's
// own file (`own`) marking their blocks to be written back.  False when the file cannot be
// read or does not check out.
bool AddDaysOfFile(AstroState& a, const std::filesystem::path& file, bool own) {
  std::string bytes;
  uint64_t blocks = 0;
  if (!ReadFile(file, bytes) || !ChecksOut(bytes, blocks)) return false;
  for (size_t b = 0; b < blocks; ++b) {
    const char* block = bytes.data() + kHeadingBytes + b * kBlockBytes;
    auto& slot = a.NutationTable[Get<int64_t>(block)];
    if (!slot) slot = std::make_shared<NutationChunk>();
    slot->Own = slot->Own || own;
    for (size_t d = 0; d < kNutationChunk; ++d) {
      const char* values = block + sizeof(int64_t) + d * kColumns * sizeof(double);
      auto& day = slot->Day[d];
      if (!std::isnan(day[0]) || std::isnan(Get<double>(values))) continue;
      for (size_t c = 0; c < kColumns; ++c) day[c] = Get<double>(values + c * sizeof(double));
    }
  }
  return true;
}

bool SameFile(const std::filesystem::path& x, const std::filesystem::path& y) {
  std::error_code ec;
  return std::filesystem::equivalent(x, y, ec);
}

}  // namespace

void LoadDayTable(AstroState& a) {
  if (a.DayTableRead) return;
  a.DayTableRead = true;
  const std::filesystem::path folder = a.AppFolder ? a.AppFolder() : std::filesystem::path();
  const std::filesystem::path own = folder.empty() ? std::filesystem::path() : DayTableFile(folder);
  if (!own.empty()) AddDaysOfFile(a, own, true);
  // Then the shipped table, for the days the folder's own file does not have: the first
  // copy that checks out (one that does not is ignored, never replaced).
  for (const std::filesystem::path& shipped : a.ShippedDayTableFolders) {
    const std::filesystem::path file = DayTableFile(shipped);
    if (!own.empty() && SameFile(file, own)) continue;  // the program's folder is the application folder
    if (AddDaysOfFile(a, file, false)) break;
  }
}

bool WriteDayTable(const AstroState& a, const std::filesystem::path& file) {
  std::string bytes(kName, kNameBytes);
  bytes += ErfaField();
  Put(bytes, kByteOrderCheck);
  const size_t countAt = bytes.size();
  Put(bytes, uint64_t{0});
  uint64_t blocks = 0;
  for (const auto& [index, chunk] : a.NutationTable) {
    bool any = false;
    for (const auto& d : chunk->Day) any = any || !std::isnan(d[0]);
    if (!chunk->Own || !any) continue;
    Put(bytes, static_cast<int64_t>(index));
    for (const auto& d : chunk->Day) {
      for (size_t c = 0; c < kColumns; ++c) Put(bytes, d[c]);
    }
    ++blocks;
  }
  std::memcpy(bytes.data() + countAt, &blocks, sizeof blocks);
  Put(bytes, Fnv1a(bytes));
  return WriteFileAtomically(file, bytes);
}

bool SaveDayTable(AstroState& a) {
  if (a.NutationDaysAdded == 0) return true;
  const std::filesystem::path folder = a.AppFolder ? a.AppFolder() : std::filesystem::path();
  if (folder.empty()) return true;
  if (!WriteDayTable(a, DayTableFile(folder))) return false;
  a.NutationDaysAdded = 0;
  return true;
}

}  // namespace planova
