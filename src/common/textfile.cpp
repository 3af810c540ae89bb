#include "common/textfile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace planova {
namespace {

// Windows-1251 bytes 0x80..0xFF as Unicode code points (0 = unassigned byte 0x98).
constexpr char32_t kCp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; a malformed byte decodes as U+FFFD.
char32_t NextCodePoint(std::string_view text, size_t& i) {
  auto b0 = static_cast<unsigned char>(text[i++]);
  if (b0 < 0x80) return b0;
  int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : -1;
  if (extra < 0) return 0xFFFD;
  char32_t cp = b0 & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size()) return 0xFFFD;
    auto b = static_cast<unsigned char>(text[i]);
    if ((b & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (b & 0x3F);
    ++i;
  }
  return cp;
}

}  // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = NextCodePoint(utf8, i);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    char byte = '?';
    if (cp >= 0x0410 && cp <= 0x044F) {
      byte = static_cast<char>(0xC0 + (cp - 0x0410));
    } else {
      for (int k = 0; k < 64; ++k) {
        if (kCp1251High[k] == cp) {
          byte = static_cast<char>(0x80 + k);
          break;
        }
      }
    }
    out += byte;
  }
  return out;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else {
      char32_t cp = kCp1251High[b - 0x80];
      AppendUtf8(out, cp == 0 ? 0xFFFD : cp);
    }
  }
  return out;
}

size_t Utf8Length(std::string_view utf8) {
  // The ASCII bytes at the start (a station code, a mode: often the whole text) are a
  // character each.
  size_t i = 0;
  while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) ++i;
  size_t n = i;
  while (i < utf8.size()) {
    NextCodePoint(utf8, i);
    ++n;
  }
  return n;
}

bool TextInputFile::Open(const std::filesystem::path& path) {
  Close();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) return false;
  if (!block_) block_ = std::make_unique<char[]>(kBlockBytes);
  next_ = end_ = 0;
  lineFeed_ = kNoLineFeed;
  return true;
}

bool TextInputFile::Fill() {
  if (next_ < end_) return true;
  if (!file_) return false;
  next_ = 0;
  end_ = std::fread(block_.get(), 1, kBlockBytes, file_);
  lineFeed_ = kNoLineFeed;
  return end_ > 0;
}

bool TextInputFile::AtEnd() { return !Fill(); }

bool TextInputFile::ReadLine(std::string& bytes) {
  bytes.clear();
  if (!Fill()) return false;
  while (true) {
    const char* begin = block_.get() + next_;
    const char* stop = block_.get() + end_;
    // The line ends at the first LF or CR: the LF is found first (the next one is kept,
    // so a file of CR-only lines is not searched again and again), then a CR before it.
    if (lineFeed_ < next_ || lineFeed_ > end_) {
      const void* lf = std::memchr(begin, '\n', static_cast<size_t>(stop - begin));
      lineFeed_ = lf ? static_cast<size_t>(static_cast<const char*>(lf) - block_.get()) : end_;
    }
    const char* p = block_.get() + lineFeed_;
    if (const void* cr = std::memchr(begin, '\r', static_cast<size_t>(p - begin))) p = static_cast<const char*>(cr);
    bytes.append(begin, p);
    next_ = static_cast<size_t>(p - block_.get());
    if (p != stop) break;
    if (!Fill()) return true;  // the last line, without a line end
  }
  // CR LF is one line end; a CR alone (old Mac files) ends the line as well.
  const char c = block_[next_++];
  if (c == '\r' && Fill() && block_[next_] == '\n') ++next_;
  return true;
}

void TextInputFile::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  next_ = end_ = 0;
}

namespace {

// The file a path names for writing: a symbolic link is followed to the file it points
// at (which may not exist yet), so that the link stays a link and its target takes the
// new text.
std::filesystem::path WrittenFile(const std::filesystem::path& target) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(target, ec)) return target;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(target, ec);
  return ec ? target : resolved;
}

// Removes the temporary files "<name>.tmp-<process>-<n>" that a process which no longer
// runs left beside the target (a crash, a power cut): kill(pid, 0) fails with ESRCH for
// a process id no process has.  Files of running processes are theirs and stay.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
  const std::string prefix = target.filename().string() + ".tmp-";
  const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const size_t dash = name.find('-', prefix.size());
    if (dash == std::string::npos || dash == prefix.size()) continue;
    long pid = 0;
    bool digits = true;
    for (size_t k = prefix.size(); k < dash && digits; ++k) {
      digits = name[k] >= '0' && name[k] <= '9' && pid < 100000000;
      pid = pid * 10 + (name[k] - '0');
    }
    if (!digits || pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) ::unlink(it->path().c_str());
  }
}

}  // namespace

bool TextOutputFile::Create(const std::filesystem::path& path) {
  Discard();
  failed_ = false;
  written_ = handed_ = 0;
  const std::filesystem::path target = WrittenFile(path);
  target_ = target;
  RemoveStaleTemporaries(target);
  // A target that exists lends its permission bits to the new file; one the user may
  // not write (a file turned read-only) is refused, as writing it in place would be.
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && ::access(target.c_str(), W_OK) != 0) return false;
  // A name no other writer uses: the process id and a count, tried afresh when taken.
  static std::atomic<unsigned> counter{0};  // files are formed on more than one thread
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    std::filesystem::path name = target;
    name += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) temporary_ = std::move(name);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  if (exists) ::fchmod(fd, old.st_mode & 07777);
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    Discard();
    return false;
  }
  // Large files of short lines (a comparison's records) go to the system in big pieces:
  // the buffer is the file's own (given no buffer, the C library keeps to 4 KB pieces).
  constexpr size_t kBufferBytes = size_t{1} << 18;
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kBufferBytes);
  std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferBytes);
  return true;
}

namespace {

// The file is written from one thread: where the C library offers it, without taking
// the stream's lock for each line.
size_t WriteBytes(const void* bytes, size_t size, std::FILE* file) {
#ifdef __GLIBC__
  return ::fwrite_unlocked(bytes, 1, size, file);
#else
  return std::fwrite(bytes, 1, size, file);
#endif
}

}  // namespace

// A large file's writing to the disk is started every this many bytes.
constexpr uint64_t kWritebackBytes = uint64_t{4} << 20;

bool TextOutputFile::Write(std::string_view bytes) {
  if (!file_) return false;
  if (!bytes.empty() && WriteBytes(bytes.data(), bytes.size(), file_) != bytes.size()) failed_ = true;
  written_ += bytes.size();
  if (written_ - handed_ >= kWritebackBytes && !failed_) StartWriteback();
  return !failed_;
}

bool TextOutputFile::WriteAt(uint64_t offset, std::string_view bytes) {
  if (!file_ || failed_) return false;
  if (offset > written_ || bytes.size() > written_ - offset || std::fflush(file_) != 0 ||
      ::pwrite(::fileno(file_), bytes.data(), bytes.size(), static_cast<off_t>(offset)) !=
          static_cast<ssize_t>(bytes.size())) {
    failed_ = true;
  }
  return !failed_;
}

void TextOutputFile::StartWriteback() {
  if (std::fflush(file_) != 0) {
    failed_ = true;
    return;
  }
#ifdef SYNC_FILE_RANGE_WRITE
  // Only a hint: where the system refuses it, Commit's fsync writes everything.
  ::sync_file_range(::fileno(file_), static_cast<off_t>(handed_), static_cast<off_t>(written_ - handed_),
                    SYNC_FILE_RANGE_WRITE);
#endif
  handed_ = written_;
}

bool TextOutputFile::WriteLine(std::string_view bytes) {
  Write(bytes);
  return Write("\r\n");
}

bool TextOutputFile::Flush() {
  if (file_ && std::fflush(file_) != 0) failed_ = true;
  return !failed_;
}

bool TextOutputFile::Sync() {
  if (file_ && (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0)) failed_ = true;
  return file_ && !failed_;
}

bool TextOutputFile::Commit() {
  if (!file_) return false;
  // The bytes reach the disk before the name does, so that a crash just after the
  // rename cannot leave an empty file under the target's name.
  bool ok = !failed_ && std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (!ok || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Discard();
    return false;
  }
  temporary_.clear();
  // The folder's new entry to the disk as well (where the system allows it).
  const std::filesystem::path folder = target_.parent_path().empty() ? "." : target_.parent_path();
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

void TextOutputFile::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  TextOutputFile f;
  return f.Create(path) && f.Write(bytes) && f.Commit();
}

std::filesystem::path AppPath(const std::filesystem::path& appFolder, std::string_view relUtf8) {
  return appFolder / std::filesystem::path(std::u8string(relUtf8.begin(), relUtf8.end()));
}

std::string PathText(const std::filesystem::path& path) {
  std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

}  // namespace planova
