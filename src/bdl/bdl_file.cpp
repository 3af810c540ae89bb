#include "bdl/bdl_file.h"

#include <algorithm>
#include <fstream>

#include "common/numtext.h"
#include "common/obs_store.h"
#include "common/textfile.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";

// Bytes of file a row of the store may take before the file is refused unread.
constexpr double kBytesPerRow = 150;
// The progress estimate of the lines read: 150 bytes a line, in percent.
constexpr double kProgressBytesPerLine = 15000;

// Opens the file after the size rule; kEndOfFile when it is open and `length` holds its
// size.
BdlLoadEnd OpenForLoading(const std::filesystem::path& path, int32_t capacity, TextInputFile& in, double& length) {
  std::error_code ec;
  auto size = std::filesystem::file_size(path, ec);
  if (ec) return BdlLoadEnd::kOpenFailed;
  length = static_cast<double>(size);
  if (length / capacity > kBytesPerRow) return BdlLoadEnd::kTooLarge;
  if (!in.Open(path)) return BdlLoadEnd::kOpenFailed;
  return BdlLoadEnd::kEndOfFile;
}

bool NegativeTime(const BdlState& b) { return b.Hours < 0 || b.Minutes < 0 || b.Seconds < 0; }

// The records of the file after its heading into rows 1.. of `column`, as far as they go.
void LoadRecords(TextInputFile& in, double length, ObservationStore& store, int column, BdlState& b, CalendarRule rule,
                 const BdlLoadOptions& o, BdlLoadResult& r, std::string& lastTaken) {
  std::string line;
  BdlRecord rec;
  auto stopped = [&o] { return o.Stop && *o.Stop == 1; };
  while (!stopped() && in.ReadLine(line)) {
    if (!ReadBdlRecord(b, rule, line, rec)) {
      r.End = BdlLoadEnd::kBadLine;
      r.BadLine = line;
      return;
    }
    if (o.RejectNegativeTimes && NegativeTime(b)) {
      r.Rejected.push_back(line);
      lastTaken = line;
      continue;
    }
    if (r.Rows + 1 > store.ObsCapacity - 1) {
      r.End = BdlLoadEnd::kStoreFull;
      return;
    }
    const int32_t row = ++r.Rows;
    store.ObsJd(row, column) = rec.Jd;
    store.ObsExactTime(row, column) = rec.ExactTime ? 1 : 0;
    store.ObsLon(row, column) = rec.LonDeg;
    store.ObsLat(row, column) = rec.LatDeg;
    // Records with the note of the record before share its text.
    if (row > 1 && store.ObsNote(row - 1, column) == rec.Note) {
      store.ObsNote(row, column) = store.ObsNote(row - 1, column);
    } else {
      store.ObsNote(row, column) = rec.Note;
    }
    store.ObsStation(row, column) = rec.Station;
    // The uncertainty tail: the arrays exist once a line has one; a line without it then
    // says "unknown" (0) rather than keep a value of the set loaded before.
    if (rec.SigmaRa > 0 || rec.SigmaDec > 0) store.EnsureSigmas();
    if (store.HasSigmas()) {
      store.ObsSigmaRa(row, column) = static_cast<float>(rec.SigmaRa);
      store.ObsSigmaDec(row, column) = static_cast<float>(rec.SigmaDec);
    }
    r.TimeScale = rec.TimeScale;
    if (row <= o.ShownLimit) r.Shown.push_back(BdlDisplayLine(b, rec, row));
    lastTaken.swap(line);  // the next line is read into the old one's room: no copy
    if (o.Progress) {
      o.Progress(static_cast<int>(std::min<double>(100, static_cast<double>(row) * kProgressBytesPerLine / length)));
    }
    if (o.ProcessEvents) o.ProcessEvents();
  }
  r.End = stopped() ? BdlLoadEnd::kStopRequested : BdlLoadEnd::kEndOfFile;
}

}  // namespace

std::string BdlNotShownLine(int32_t rows, int32_t shown) {
  return "... показаны первые " + std::to_string(shown) + " записей из " + std::to_string(rows);
}

BdlLoadResult LoadBdlFile(const std::filesystem::path& path, ObservationStore& store, int column, BdlState& b,
                          CalendarRule rule, const BdlLoadOptions& options) {
  BdlLoadResult r;
  if (options.Stop) *options.Stop = 0;
  TextInputFile in;
  double length = 0;
  r.End = OpenForLoading(path, store.ObsCapacity, in, length);
  if (r.End != BdlLoadEnd::kEndOfFile) return r;
  std::string line, lastTaken;
  for (int k = 0; k < kBdlHeadingLines; ++k) {
    if (!in.ReadLine(line)) {
      r.End = BdlLoadEnd::kShortHeading;
      return r;
    }
    if (k > 0) r.Heading += kCrLf;
    r.Heading += line;
    lastTaken = line;
  }
  LoadRecords(in, length, store, column, b, rule, options, r, lastTaken);
  r.LastEpochField = CutColumns(lastTaken, bdl::kEpoch);
  if (column == 1) {
    store.CopyRows(1, r.Rows, kSet1, kSet3);
    store.Count1 = r.Rows;
    store.Count3 = r.Rows;
  } else {
    store.Count2 = r.Rows;
  }
  return r;
}

int64_t CountBdlFileRecords(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return -1;
  std::ifstream in(path, std::ios::binary);
  if (!in) return -1;
  int64_t lines = 0;
  char last = '\n';
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    const std::streamsize n = in.gcount();
    lines += std::count(buffer, buffer + n, '\n');
    last = buffer[n - 1];
  }
  if (last != '\n') ++lines;
  return std::max<int64_t>(0, lines - 5);
}

BdlWriteResult WriteBdlFile(const std::filesystem::path& path, const ObservationStore& store, int32_t first,
                            int32_t last, BdlState& b, CalendarRule rule, const BdlWriteOptions& o) {
  BdlWriteResult r;
  TextOutputFile out;
  if (!out.Create(path)) {
    r.End = BdlWriteEnd::kCreateFailed;
    return r;
  }
  r.Heading = BdlHeadingLines(o.LoadedHeading, o.ObservatoryCode);
  bool ok = out.WriteLine(r.Heading);
  if (b.BodyName.empty()) b.BodyName = BodyNameOf(store.ObjectNumber);
  const std::string code = Utf8ToCp1251(o.ObservatoryCode);
  for (int32_t i = first; ok && i <= last; ++i) {
    if (!FormatBdlLine(b, rule, store, i)) {
      r.End = BdlWriteEnd::kCalendarFailed;
      r.FailedRow = i;
      break;
    }
    std::string& line = b.BdlLine;
    // The record's own station, else the code of the whole file.
    const StationCode& station = store.ObsStation(i, kSet3);
    PlaceAt(line, bdl::kObservatory, station.empty() ? std::string_view(code) : station.view());
    PlaceAt(line, bdl::kNote.first, store.ObsNote(i, kSet3).substr(0, static_cast<size_t>(bdl::kNote.width())));
    PlaceEndingAt(line, bdl::kTimeScale.last, o.TimeScale);
    PlaceAt(line, bdl::kEpoch.first, std::string(static_cast<size_t>(bdl::kEpoch.width()), ' '));
    PlaceEndingAt(line, bdl::kEpoch.last, o.Epoch);
    if (o.RowInNote) PlaceAt(line, bdl::kRowInNote, " " + std::to_string(i));
    PlaceSigmaTail(line, store.SigmaRaArcsec(i, kSet3), store.SigmaDecArcsec(i, kSet3));
    ok = out.WriteLine(line);
    if (o.Written) {
      o.Written(last > first ? static_cast<int>(static_cast<int64_t>(i - first) * 100 / (last - first)) : 100, line);
    }
  }
  if (r.End != BdlWriteEnd::kWritten) return r;  // the file is discarded with `out`
  if (!ok || !out.Commit()) r.End = BdlWriteEnd::kWriteFailed;
  return r;
}

std::string BdlHeadingLines(const std::string& loadedHeader, const std::string& code) {
  if (!loadedHeader.empty()) return loadedHeader;
  const std::string c = Utf8ToCp1251(code);
  std::string lines = c;
  for (int k = 1; k < kBdlHeadingLines; ++k) lines.append("\r\n").append(c);
  return lines;
}

}  // namespace planova
