#include "import/ades_reader.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "astro/time.h"
#include "common/numtext.h"
#include "common/textfile.h"

namespace planova {

namespace {

// Every field name of the ADES optical, offset and occultation records and of the
// residuals an orbit computer adds (version 2017 and 2022): a PSV keyword record may name
// any of them, and the reader keeps those of AdesField.
constexpr std::string_view kAdesKeywords[] = {
    "permID",   "provID",    "artSat",    "trkSub",    "obsID",     "trkID",     "trkMPC",    "obsSubID",
    "mode",     "stn",       "sys",       "ctr",       "pos1",      "pos2",      "pos3",      "vel1",
    "vel2",     "vel3",      "posCov11",  "posCov12",  "posCov13",  "posCov22",  "posCov23",  "posCov33",
    "prog",     "obsTime",   "rmsTime",   "ra",        "dec",       "raStar",    "decStar",   "obsCenter",
    "deltaRA",  "deltaDec",  "dist",      "pa",        "rmsRA",     "rmsDec",    "rmsDist",   "rmsPA",
    "rmsCorr",  "delay",     "rmsDelay",  "doppler",   "rmsDoppler", "frq",      "trx",       "rcv",
    "com",      "astCat",    "mag",       "rmsMag",    "band",      "fltr",      "photCat",   "photAp",
    "nucMag",   "logSNR",    "seeing",    "exp",       "rmsFit",    "nStars",    "ref",       "disc",
    "subFrm",   "subFmt",    "precTime",  "precRA",    "precDec",   "uncTime",   "notes",     "remarks",
    "deprecated", "localUse", "orbProd",  "orbID",     "resRA",     "resDec",    "selAst",    "sigRA",
    "sigDec",   "sigCorr",   "sigTime",   "biasRA",    "biasDec",   "biasTime",  "photProd",  "resMag",
    "selPhot",  "sigMag",    "biasMag",   "photMod",   "shapeOcc",  "resDelay",  "selDelay",  "sigDelay",
    "resDoppler", "selDoppler", "sigDoppler", "fitOrb",  "dtType",   "resTime",   "resDist",   "resPA",
    "raDisp",   "decDisp",   "posCov",    "obsSubmitID", "objCat",  "objCatID",  "occStar",   "occStarCat",
};

bool KnownKeyword(std::string_view name) {
  return std::find(std::begin(kAdesKeywords), std::end(kAdesKeywords), name) != std::end(kAdesKeywords);
}

int FieldIndex(std::string_view name) {
  for (int k = 0; k < kAdesFieldCount; ++k) {
    if (kAdesFieldNames[static_cast<size_t>(k)] == name) return k;
  }
  return -1;
}

std::string_view Trimmed(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string LineNote(int64_t line) { return " (строка " + std::to_string(line) + ")"; }

// --- PSV -------------------------------------------------------------------------

// One pass over a PSV text: with a null sink it only checks the structure.
class PsvPass {
 public:
  PsvPass(std::string_view text, const AdesRecordSink* sink) : text_(text), sink_(sink) {}

  AdesReadResult Run() {
    AdesReadResult r;
    std::string_view line;
    bool versionSeen = false;
    bool inHeader = true;  // between header lines and the keyword record
    while (NextLine(line)) {
      const std::string_view t = Trimmed(line);
      if (t.empty()) continue;
      if (!versionSeen) {
        if (!StartsWith(t, "#")) return Refused(r, "это не файл ADES PSV: первая строка не \"# version=2017\"");
        std::string_view v = Trimmed(t.substr(1));
        if (!StartsWith(v, "version")) return Refused(r, "это не файл ADES PSV: первая строка не \"# version=2017\"");
        v = Trimmed(v.substr(7));
        if (!v.empty() && v.front() == '=') v = Trimmed(v.substr(1));
        if (v != "2017" && v != "2022") return Refused(r, "версия ADES не 2017 и не 2022" + LineNote(lineNumber_));
        versionSeen = true;
        continue;
      }
      if (t.front() == '#' || t.front() == '!') {
        if (!inHeader) {  // a new block
          inHeader = true;
          blockStation_ = {};
          keywords_.clear();
        }
        if (t.front() == '!') {
          std::string_view v = Trimmed(t.substr(1));
          if (StartsWith(v, "mpcCode")) blockStation_ = Trimmed(v.substr(7));
        }
        continue;
      }
      if (inHeader) {
        if (!ReadKeywords(t, r)) return r;
        inHeader = false;
        continue;
      }
      Record(line, t);
      ++r.Records;
    }
    if (!versionSeen) return Refused(r, "это не файл ADES PSV: первая строка не \"# version=2017\"");
    if (inHeader) return Refused(r, "в файле ADES нет записи ключей" + LineNote(lineNumber_));
    r.Ok = true;
    return r;
  }

 private:
  bool NextLine(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++lineNumber_;
    return true;
  }

  AdesReadResult& Refused(AdesReadResult& r, std::string message) {
    r.Ok = false;
    r.Message = std::move(message);
    r.Records = 0;
    return r;
  }

  // The keyword record: every name a known ADES field, none twice, obsTime, ra and dec
  // among them.
  bool ReadKeywords(std::string_view t, AdesReadResult& r) {
    keywords_.clear();
    names_.clear();
    size_t from = 0;
    for (;;) {
      const size_t bar = t.find('|', from);
      const std::string_view name = Trimmed(t.substr(from, bar == std::string_view::npos ? t.npos : bar - from));
      if (!KnownKeyword(name)) {
        Refused(r, "в записи ключей ADES неизвестное поле \"" + std::string(name.substr(0, 40)) + "\"" +
                       LineNote(lineNumber_));
        return false;
      }
      if (std::find(names_.begin(), names_.end(), name) != names_.end()) {
        Refused(r, "в записи ключей ADES поле \"" + std::string(name) + "\" повторено" + LineNote(lineNumber_));
        return false;
      }
      names_.push_back(name);
      const int index = FieldIndex(name);
      keywords_.push_back(index);
      if (bar == std::string_view::npos) break;
      from = bar + 1;
    }
    for (AdesField needed : {kAdesObsTime, kAdesRa, kAdesDec}) {
      if (std::find(keywords_.begin(), keywords_.end(), needed) == keywords_.end()) {
        Refused(r, "в записи ключей ADES нет поля \"" + std::string(kAdesFieldNames[needed]) + "\"" +
                       LineNote(lineNumber_));
        return false;
      }
    }
    return true;
  }

  void Record(std::string_view line, std::string_view t) {
    if (!sink_) return;
    AdesRecordTexts rec;
    rec.Text = line;
    rec.BlockStation = blockStation_;
    size_t from = 0, k = 0;
    for (;;) {
      const size_t bar = t.find('|', from);
      if (k < keywords_.size()) {
        const int index = keywords_[k];
        if (index >= 0) rec.Field[static_cast<size_t>(index)] = Trimmed(t.substr(from, bar == t.npos ? t.npos : bar - from));
      }
      ++k;
      if (bar == std::string_view::npos) break;
      from = bar + 1;
    }
    if (k != keywords_.size()) {
      rec.Fault = "число полей записи не то, что в записи ключей";
      rec.Field = {};
    }
    (*sink_)(rec);
  }

  std::string_view text_;
  const AdesRecordSink* sink_;
  size_t pos_ = 0;
  int64_t lineNumber_ = 0;
  std::string_view blockStation_;
  std::vector<int> keywords_;            // AdesField of each column, -1 for fields not read
  std::vector<std::string_view> names_;  // the keyword of each column
};

// --- XML -------------------------------------------------------------------------

class XmlPass {
 public:
  XmlPass(std::string_view text, const AdesRecordSink* sink)
      : xml_(QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size()))), sink_(sink) {}

  AdesReadResult Run() {
    AdesReadResult r;
    int depth = 0;
    int opticalDepth = 0;     // depth of the <optical> being read, 0 outside one
    int fieldIndex = -2;      // AdesField of the child being read, -1 unknown, -2 none
    bool inObservatory = false;
    bool inMpcCode = false;
    bool rootSeen = false;
    while (!xml_.atEnd()) {
      const QXmlStreamReader::TokenType token = xml_.readNext();
      if (token == QXmlStreamReader::DTD) return Refused(r, "файл ADES XML с объявлением DTD не читается");
      if (token == QXmlStreamReader::StartElement) {
        if (++depth > kAdesXmlMaxDepth) {
          return Refused(r, "в файле ADES XML элементы вложены глубже " + std::to_string(kAdesXmlMaxDepth) + LineNote());
        }
        const QStringView name = xml_.name();
        if (depth == 1) {
          if (name != u"ades" || xml_.attributes().value("version").isEmpty()) {
            return Refused(r, "это не файл ADES XML: нет элемента <ades version=...>");
          }
          const QStringView version = xml_.attributes().value("version");
          if (version != u"2017" && version != u"2022") return Refused(r, "версия ADES не 2017 и не 2022");
          rootSeen = true;
        } else if (opticalDepth == 0 && name == u"obsBlock") {
          blockStation_.clear();
        } else if (opticalDepth == 0 && name == u"observatory") {
          inObservatory = true;
        } else if (opticalDepth == 0 && inObservatory && name == u"mpcCode") {
          inMpcCode = true;
          blockStation_.clear();
        } else if (opticalDepth == 0 && name == u"optical") {
          opticalDepth = depth;
          BeginRecord();
        } else if (opticalDepth > 0 && depth == opticalDepth + 1) {
          const std::string field = name.toUtf8().toStdString();
          fieldIndex = FieldIndex(field);
          if (fieldIndex >= 0 && seen_[static_cast<size_t>(fieldIndex)]) fault_ = "поле записи повторено";
          if (fieldIndex >= 0) {
            seen_[static_cast<size_t>(fieldIndex)] = true;
            texts_[static_cast<size_t>(fieldIndex)].clear();
          }
          if (!recordText_.empty()) recordText_ += " | ";
          recordText_ += field.substr(0, 40);
          recordText_ += '=';
        }
      } else if (token == QXmlStreamReader::Characters) {
        if (opticalDepth > 0 && depth == opticalDepth + 1) {
          const std::string text = xml_.text().toUtf8().toStdString();
          if (fieldIndex >= 0) texts_[static_cast<size_t>(fieldIndex)] += text;
          // The record's text is one line of the source pane: line ends become blanks.
          for (char c : Trimmed(text).substr(0, 200)) recordText_ += static_cast<unsigned char>(c) < ' ' ? ' ' : c;
        } else if (inMpcCode) {
          blockStation_ += xml_.text().toUtf8().toStdString();
        }
      } else if (token == QXmlStreamReader::EndElement) {
        const QStringView name = xml_.name();
        if (opticalDepth > 0 && depth == opticalDepth) {
          EndRecord();
          ++r.Records;
          opticalDepth = 0;
        } else if (opticalDepth > 0 && depth == opticalDepth + 1) {
          fieldIndex = -2;
        } else if (name == u"mpcCode") {
          inMpcCode = false;
        } else if (name == u"observatory") {
          inObservatory = false;
        }
        --depth;
      }
    }
    if (xml_.hasError()) {
      if (!rootSeen) return Refused(r, "это не файл ADES XML: нет элемента <ades version=...>");
      return Refused(r, "файл ADES XML испорчен: " + xml_.errorString().toStdString() + LineNote());
    }
    if (!rootSeen) return Refused(r, "это не файл ADES XML: нет элемента <ades version=...>");
    r.Ok = true;
    return r;
  }

 private:
  std::string LineNote() const { return planova::LineNote(static_cast<int64_t>(xml_.lineNumber())); }

  AdesReadResult& Refused(AdesReadResult& r, std::string message) {
    r.Ok = false;
    r.Message = std::move(message);
    r.Records = 0;
    return r;
  }

  void BeginRecord() {
    for (auto& t : texts_) t.clear();
    seen_ = {};
    fault_ = nullptr;
    recordText_.clear();
  }

  void EndRecord() {
    if (!sink_) return;
    AdesRecordTexts rec;
    for (size_t k = 0; k < texts_.size(); ++k) rec.Field[k] = Trimmed(texts_[k]);
    station_ = std::string(Trimmed(blockStation_));
    rec.BlockStation = station_;
    rec.Text = recordText_;
    rec.Fault = fault_;
    (*sink_)(rec);
  }

  QXmlStreamReader xml_;
  const AdesRecordSink* sink_;
  std::string blockStation_, station_;
  std::array<std::string, kAdesFieldCount> texts_;
  std::array<bool, kAdesFieldCount> seen_{};
  const char* fault_ = nullptr;
  std::string recordText_;
};

// --- Numbers ---------------------------------------------------------------------

// A decimal with a point: an optional sign, digits, optionally a point and digits (at
// least one digit in all); no exponent, no blanks.
bool AdesNumber(std::string_view text, double& value) {
  if (text.empty() || text.size() > 40) return false;
  size_t k = 0;
  if (text[0] == '+' || text[0] == '-') k = 1;
  size_t digits = 0;
  bool point = false;
  for (size_t j = k; j < text.size(); ++j) {
    const char c = text[j];
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  std::string_view body = text.substr(text[0] == '+' ? 1 : 0);
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  return ec == std::errc() && end == body.data() + body.size() && std::isfinite(value);
}

// Digits only, exactly n of them.
bool Digits(std::string_view text, size_t n, int32_t& value) {
  if (text.size() != n) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace

AdesReadResult ReadAdesPsv(std::string_view text, const AdesRecordSink& sink) {
  AdesReadResult check = PsvPass(text, nullptr).Run();
  if (!check.Ok) return check;
  return PsvPass(text, &sink).Run();
}

AdesReadResult ReadAdesXml(std::string_view text, const AdesRecordSink& sink) {
  AdesReadResult check = XmlPass(text, nullptr).Run();
  if (!check.Ok) return check;
  return XmlPass(text, &sink).Run();
}

bool AdesTimeJd(std::string_view t, double& jd, bool* exact) {
  // YYYY-MM-DDThh:mm:ss, then an optional fraction of the second, then "Z".
  if (!t.empty() && t.back() == 'Z') t.remove_suffix(1);
  if (t.size() < 19 || t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' || t[16] != ':') return false;
  int32_t year = 0, month = 0, day = 0, hours = 0, minutes = 0, whole = 0;
  if (!Digits(t.substr(0, 4), 4, year) || !Digits(t.substr(5, 2), 2, month) || !Digits(t.substr(8, 2), 2, day) ||
      !Digits(t.substr(11, 2), 2, hours) || !Digits(t.substr(14, 2), 2, minutes) ||
      !Digits(t.substr(17, 2), 2, whole)) {
    return false;
  }
  double seconds = whole;
  if (t.size() > 19) {
    if (t[19] != '.' || t.size() == 20) return false;
    double fraction = 0;
    const std::string_view digits = t.substr(20);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
        !AdesNumber(t.substr(19), fraction)) {
      return false;
    }
    seconds += fraction;
  }
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || year < 1583) return false;
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  const int days = month == 2 && leap ? 29 : kDays[month - 1];
  if (day < 1 || day > days || hours > 23 || minutes > 59 || seconds >= 60) return false;
  if (exact) *exact = t.size() <= 19 || SignificantPlaces(t.substr(19)) <= kExactSecondPlaces;
  const double dayWithTime = day + ((hours * 60.0 + minutes) * 60.0 + seconds) / 86400;
  bool failed = false;
  jd = JulianDateFromCalendar(CalendarRule::kGregorianFrom1582, dayWithTime, month, year, &failed);
  return !failed;
}

RecordValues ConvertAdesRecord(const AdesRecordTexts& rec, FieldTexts& field) {
  RecordValues r;
  const auto& f = rec.Field;
  const std::string_view station = f[kAdesStn].empty() ? rec.BlockStation : f[kAdesStn];
  const AdesField shown[] = {kAdesObsTime, kAdesRa, kAdesDec, kAdesRmsRa, kAdesRmsDec, kAdesRmsCorr, kAdesMode, kAdesAstCat};
  for (size_t k = 0; k < std::size(shown); ++k) field[4 + k] = Utf8ToCp1251(f[shown[k]].substr(0, 40));
  field[12] = Utf8ToCp1251(station.substr(0, 40));
  r.Station = StationCode(field[12]);

  if (rec.Fault) {
    r.Reason = rec.Fault;
    return r;
  }
  if (!f[kAdesSys].empty()) {
    r.Reason = "место наблюдателя дано в записи (sys): спутник или подвижный наблюдатель";
    return r;
  }
  if (f[kAdesObsTime].empty() || f[kAdesRa].empty() || f[kAdesDec].empty()) {
    r.Reason = "нет obsTime, ra или dec";
    return r;
  }
  // Every number of the record must read before anything of it is kept.
  double ra = 0, dec = 0, rmsRa = 0, rmsDec = 0, value = 0;
  if (!AdesNumber(f[kAdesRa], ra)) {
    r.Reason = "ra не число";
    return r;
  }
  if (!AdesNumber(f[kAdesDec], dec)) {
    r.Reason = "dec не число";
    return r;
  }
  if (!f[kAdesRmsRa].empty() && !AdesNumber(f[kAdesRmsRa], rmsRa)) {
    r.Reason = "rmsRA не число";
    return r;
  }
  if (!f[kAdesRmsDec].empty() && !AdesNumber(f[kAdesRmsDec], rmsDec)) {
    r.Reason = "rmsDec не число";
    return r;
  }
  // An uncertainty is above 0: from a microarcsecond (what the BDL tail and the store's
  // floats keep) up to a million arcseconds (already no place at all).
  constexpr double kSmallestSigma = 1e-6, kLargestSigma = 1e6;
  const auto possibleSigma = [](double s) { return s >= kSmallestSigma && s <= kLargestSigma; };
  if ((!f[kAdesRmsRa].empty() && !possibleSigma(rmsRa)) || (!f[kAdesRmsDec].empty() && !possibleSigma(rmsDec))) {
    r.Reason = "rmsRA или rmsDec не от 0.000001 до 1000000";
    return r;
  }
  if (!f[kAdesRmsCorr].empty() && (!AdesNumber(f[kAdesRmsCorr], value) || value < -1 || value > 1)) {
    r.Reason = "rmsCorr не число от -1 до 1";
    return r;
  }
  for (AdesField k : {kAdesPrecTime, kAdesPrecRa, kAdesPrecDec}) {
    if (!f[k].empty() && !AdesNumber(f[k], value)) {
      r.Reason = "precTime, precRA или precDec не число";
      return r;
    }
  }
  if (!AdesTimeJd(f[kAdesObsTime], r.Jd, &r.ExactTime)) {
    r.Reason = "obsTime не время ISO 8601 UTC (2023-04-05T06:07:08.123Z)";
    return r;
  }
  r.GregorianDated = true;
  r.HasJd = true;
  if (!(ra >= 0 && ra < 360)) {
    r.Reason = "ra вне 0..360";
    return r;
  }
  r.LonDeg = ra;
  r.HasLon = true;
  if (!(std::fabs(dec) <= 90)) {
    r.Reason = "dec вне -90..90";
    return r;
  }
  r.LatDeg = dec;
  r.HasLat = true;
  r.SigmaRa = rmsRa;
  r.SigmaDec = rmsDec;
  r.Accepted = true;
  return r;
}

}  // namespace planova
