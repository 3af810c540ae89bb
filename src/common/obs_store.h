// The observation store shared by the three windows: Julian dates, longitudes (or right
// ascensions) and latitudes (or declinations) in degrees, a note and a station per
// record, each with rows 0..N and columns 0..3.  Window 1 keeps records as read in
// column 1 and the accepted ones in column 3; window 2 keeps its data sets 1, 2, 3 in
// columns 1, 2, 3; window 3 its loaded set in column 1 and the corrected copy in column 3.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace planova {

// A block of zeroed memory that costs nothing until it is written: a large one is mapped
// from the system page by page as it is first written (a column of a million rows that a
// run never touches takes no memory), a small one comes from calloc.
class ZeroedBlock {
 public:
  ZeroedBlock() = default;
  explicit ZeroedBlock(size_t bytes);  // throws std::bad_alloc when the system refuses
  ZeroedBlock(const ZeroedBlock& other);
  ZeroedBlock& operator=(const ZeroedBlock& other);
  ZeroedBlock(ZeroedBlock&& other) noexcept { Swap(other); }
  ZeroedBlock& operator=(ZeroedBlock&& other) noexcept {
    ZeroedBlock gone;
    gone.Swap(other);
    Swap(gone);
    return *this;
  }
  ~ZeroedBlock();
  void* data() const { return data_; }
  size_t size() const { return bytes_; }

 private:
  void Swap(ZeroedBlock& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(bytes_, other.bytes_);
    std::swap(mapped_, other.mapped_);
  }
  void* data_ = nullptr;
  size_t bytes_ = 0;
  bool mapped_ = false;
};

// Rows 0..N of four columns.  Each column is a block of its own, so that a column no run
// writes costs no memory: the columns of plain values (dates, coordinates, stations,
// flags: types whose all-zero bytes are their empty value) are zeroed blocks, the column
// of notes is made when it is first written.
template <typename T>
class StoreArray {
 public:
  static constexpr int kColumns = 4;
  void Recreate(int32_t rows) {
    const size_t n = static_cast<size_t>(rows) + 1;
    if constexpr (kPlain) {
      for (ZeroedBlock& c : plain_) c = ZeroedBlock(n * sizeof(T));
    } else {
      for (std::vector<T>& c : made_) c = std::vector<T>();
    }
    rows_ = rows;
  }
  void Clear() {
    plain_ = {};
    made_ = {};
    rows_ = -1;
  }
  // Element (row i, column k); the caller keeps i within 0..Rows() and k within 0..3.
  T& operator()(int32_t i, int k) {
    if constexpr (kPlain) {
      return static_cast<T*>(plain_[static_cast<size_t>(k)].data())[i];
    } else {
      std::vector<T>& c = made_[static_cast<size_t>(k)];
      if (c.empty()) c.resize(static_cast<size_t>(rows_) + 1);
      return c[static_cast<size_t>(i)];
    }
  }
  const T& operator()(int32_t i, int k) const {
    if constexpr (kPlain) {
      return static_cast<const T*>(plain_[static_cast<size_t>(k)].data())[i];
    } else {
      const std::vector<T>& c = made_[static_cast<size_t>(k)];
      return c.empty() ? Empty() : c[static_cast<size_t>(i)];
    }
  }
  int32_t Rows() const { return rows_; }  // N, or -1 before the store exists

 private:
  static constexpr bool kPlain = std::is_trivially_copyable_v<T>;
  static const T& Empty() {
    static const T empty{};
    return empty;
  }
  std::array<ZeroedBlock, kColumns> plain_;
  std::array<std::vector<T>, kColumns> made_;
  int32_t rows_ = -1;
};

// A record's note (the descriptive block of its BDL line, Windows-1251 bytes).  Copies
// share one text, so that a set copied between columns, or the records of a file with
// one descriptive block, do not hold it again and again: a million notes of a file
// cost one text, not a million.
class NoteText {
 public:
  NoteText() = default;
  NoteText(std::string text)  // NOLINT: a note is made from its text
      : text_(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text))) {}
  NoteText(const char* text) : NoteText(std::string(text)) {}  // NOLINT
  const std::string& str() const { return text_ ? *text_ : Empty(); }
  operator const std::string&() const { return str(); }  // NOLINT
  std::string substr(size_t pos, size_t n) const { return str().substr(pos, n); }
  bool empty() const { return str().empty(); }
  friend bool operator==(const NoteText& a, const NoteText& b) { return a.text_ == b.text_ || a.str() == b.str(); }
  friend bool operator==(const NoteText& a, const std::string& b) { return a.str() == b; }

 private:
  static const std::string& Empty() {
    static const std::string empty;
    return empty;
  }
  std::shared_ptr<const std::string> text_;
};

// The station a record was observed at, when its own line names one: the observatory
// code of an MPC line (columns 78-80) or of a BDL line (columns 94-98).  Windows-1251
// bytes, blanks trimmed at both ends, at most kBytes of them; empty when the record names
// no station, and then the store's ObservatoryCode stands for it.  Five bytes in place,
// with no text on the heap: a million records in four columns cost 20 MB.
class StationCode {
 public:
  static constexpr size_t kBytes = 5;
  StationCode() = default;
  // The text with its blanks trimmed, cut to its first kBytes bytes (and trimmed again).
  explicit StationCode(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    text = text.substr(0, std::min(text.size(), kBytes));
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    for (size_t k = 0; k < text.size() && text[k] != '\0'; ++k) bytes_[k] = text[k];
  }
  std::string_view view() const {
    size_t n = 0;
    while (n < kBytes && bytes_[n] != '\0') ++n;
    return {bytes_.data(), n};
  }
  std::string str() const { return std::string(view()); }
  bool empty() const { return bytes_[0] == '\0'; }
  friend bool operator==(const StationCode& a, const StationCode& b) = default;

 private:
  std::array<char, kBytes> bytes_{};
};
static_assert(sizeof(StationCode) == StationCode::kBytes);

// The store's columns.  Window 2's data sets 1, 2 and 3 lie in kSet1, kSet2 and kSet3
// (a conversion of set 1 keeps the values before it in kSet2); window 1 keeps the records
// as read in kSet1 and the accepted ones in kSet3; window 3 its loaded set in kSet1 and the
// corrected copy in kSet3.
inline constexpr int kSet1 = 1;
inline constexpr int kSet2 = 2;
inline constexpr int kSet3 = 3;

// Whether a record holds a measured coordinate.  A catalogue marks a coordinate that was
// not observed by a zero; a latitude (declination) of exactly 90 degrees is what a missing
// polar distance becomes (90 - 0) and marks the same.  Such a coordinate takes no part in
// the comparison's statistics or the running means.
inline bool HasLongitude(double lonDeg) { return lonDeg != 0; }
inline bool HasLatitude(double latDeg) { return latDeg != 0 && latDeg != 90; }

// Largest N that "Создать массивы с N=" accepts: about 2 GB of arrays.
constexpr int32_t kMaxObsCapacity = 10000000;

struct ObservationStore {
  int32_t ObsCapacity = 0;  // N: rows 0..N
  StoreArray<double> ObsJd, ObsLon, ObsLat;
  StoreArray<NoteText> ObsNote;
  // Each record's own station (StationCode), moved with its record wherever the record
  // goes; empty for the records of a source that names none.  Read it with ObserverCode.
  StoreArray<StationCode> ObsStation;
  // Each record's measurement uncertainty, when its source gives one (ADES rmsRA and
  // rmsDec): arcseconds, in right ascension times cos(dec) and in declination; 0 where
  // unknown.  The arrays exist only once a source has given one (HasSigmas, EnsureSigmas),
  // so that sets without them cost nothing; CopyRecord carries them along.
  StoreArray<float> ObsSigmaRa, ObsSigmaDec;
  // 1 when the record's JD is its source's time of day and that time is a whole number of
  // 0.0001 s, the last place of a BDL line (a Dov, JPL or table time to 0.0001 s, an MPC
  // day to 1e-6, an ADES obsTime, a BDL line): the writers then give the time back by
  // rounding the JD to 0.0001 s (FormatBdlLine).  0 for a JD made here (a time change, a
  // mean, a theory row), written truncated as computed dates are.  One byte a record,
  // carried by CopyRecord; whatever makes a new JD clears it.
  StoreArray<uint8_t> ObsExactTime;

  // Rows in data sets 1, 2 and 3 (columns 1, 2, 3), shared by windows 2 and 3.
  int32_t Count1 = 0, Count2 = 0, Count3 = 0;
  // Epoch labels of data sets 1, 2 and 3: "App", "B1950", "J2000" or a file's epoch mark.
  std::string EpochLabel1, EpochLabel2, EpochLabel3;

  // The data of set 3 made here and not yet written to a file ("объединённые данные окна 2",
  // "исправленные данные окна 3"), empty when there are none: leaving the program asks first.
  std::string Unsaved;

  // Counters of window 1's last import.
  int32_t ReadCount = 0, GoodCount = 0, BadCount = 0;
  // Import parameters kept for the writer.  ObservatoryCode (UTF-8) is the code of the
  // whole store: of the import, or of the file last loaded.
  int32_t ObjectNumber = 0;
  std::string ObservatoryCode;

  // The observatory of the record in row i of column k (UTF-8): its own station when it
  // has one (an MPC import, a BDL line with a code in columns 94-98), else the store's
  // ObservatoryCode.  What the writers put at column 94 of the record's BDL line, and the
  // observer of that record for anything that reduces it to the observer's place.
  std::string ObserverCode(int32_t i, int k) const;

  bool Exists() const { return ObsJd.Rows() >= 0; }
  bool HasSigmas() const { return ObsSigmaRa.Rows() >= 0; }
  // Makes the uncertainty arrays (rows 0..N, every element 0) when they are not there.
  void EnsureSigmas() {
    if (HasSigmas() || !Exists()) return;
    ObsSigmaRa.Recreate(ObsJd.Rows());
    ObsSigmaDec.Recreate(ObsJd.Rows());
  }
  // The uncertainty of row i of column k, arcseconds (0: unknown).
  double SigmaRaArcsec(int32_t i, int k) const { return HasSigmas() ? ObsSigmaRa(i, k) : 0.0; }
  double SigmaDecArcsec(int32_t i, int k) const { return HasSigmas() ? ObsSigmaDec(i, k) : 0.0; }
  // True when row i (any column) lies inside the arrays.
  bool HasRow(int32_t i) const { return i >= 0 && i <= ObsJd.Rows(); }

  // Creates the arrays with rows 0..n, every element zero (or empty).
  void Recreate(int32_t n) {
    ObsCapacity = n;
    Unsaved.clear();
    ObsJd.Recreate(n);
    ObsLon.Recreate(n);
    ObsLat.Recreate(n);
    ObsNote.Recreate(n);
    ObsStation.Recreate(n);
    ObsExactTime.Recreate(n);
    ObsSigmaRa.Clear();
    ObsSigmaDec.Clear();
  }

  // Copies the whole record (JD and its exactness, longitude, latitude, note, station,
  // uncertainties) of row `fromRow` of column `fromCol` into row `toRow` of column
  // `toCol`; the rows lie within the arrays.
  void CopyRecord(int32_t fromRow, int fromCol, int32_t toRow, int toCol) {
    ObsJd(toRow, toCol) = ObsJd(fromRow, fromCol);
    ObsLon(toRow, toCol) = ObsLon(fromRow, fromCol);
    ObsLat(toRow, toCol) = ObsLat(fromRow, fromCol);
    ObsNote(toRow, toCol) = ObsNote(fromRow, fromCol);
    ObsStation(toRow, toCol) = ObsStation(fromRow, fromCol);
    ObsExactTime(toRow, toCol) = ObsExactTime(fromRow, fromCol);
    if (HasSigmas()) {
      ObsSigmaRa(toRow, toCol) = ObsSigmaRa(fromRow, fromCol);
      ObsSigmaDec(toRow, toCol) = ObsSigmaDec(fromRow, fromCol);
    }
  }
  // Copies rows first..last of column `fromCol` into the same rows of column `toCol`.
  void CopyRows(int32_t first, int32_t last, int fromCol, int toCol) {
    for (int32_t r = first; r <= last; ++r) CopyRecord(r, fromCol, r, toCol);
  }

  // "Создать массивы с N=": recreates the arrays, every element zero, from N as typed in
  // a box.  False, with the old arrays kept, for a text that is not a whole number from
  // 1 to kMaxObsCapacity.  The new arrays are built before the old ones are given up.
  bool RecreateFromText(const std::string& text);
};

}  // namespace planova
