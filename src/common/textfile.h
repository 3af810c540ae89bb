// Sequential text files as the program and its users' catalogues keep them:
// single-byte Windows-1251 text, lines ending in CR LF.  Fixed columns of the source
// layouts and of BDL are byte columns of that code page, so lines are handled as bytes
// and converted to UTF-8 only for display.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace planova {

// Code-page conversions.  Characters that Windows-1251 cannot hold become "?".
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view bytes);

// Length of a UTF-8 text in characters (the width a text takes in a Windows-1251 line).
size_t Utf8Length(std::string_view utf8);

// A file opened for sequential reading, line by line.  A line ends at CR LF, at LF or
// at a CR alone, so Windows, Unix and old Mac files read alike.
class TextInputFile {
 public:
  TextInputFile() = default;
  ~TextInputFile() { Close(); }
  TextInputFile(const TextInputFile&) = delete;
  TextInputFile& operator=(const TextInputFile&) = delete;

  bool Open(const std::filesystem::path& path);
  bool IsOpen() const { return file_ != nullptr; }
  // True when no further line can be read.
  bool AtEnd();
  // Reads the next line's bytes without its line end; false at the end of the file.
  bool ReadLine(std::string& bytes);
  void Close();

 private:
  // The file is read in blocks of kBlockBytes, and lines are cut from the block in
  // memory: a million-line catalogue costs a few hundred reads, not a call per byte.
  static constexpr size_t kBlockBytes = 1 << 18;
  // Makes at least one unread byte available; false at the end of the file.
  bool Fill();
  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> block_;
  size_t next_ = 0, end_ = 0;  // the unread bytes are block_[next_ .. end_)
  // Where the next LF of the block lies (end_ when it holds none); kNoLineFeed when not
  // looked for since the block was read.
  static constexpr size_t kNoLineFeed = ~size_t{0};
  size_t lineFeed_ = kNoLineFeed;
};

// A file written whole or not at all.  Create() opens a temporary file in the target's
// folder ("<name>.tmp-<process>-<n>", beside the target so that the final rename stays on
// one file system); the target keeps what it held until Commit() has written, flushed and
// synced every byte and renamed the temporary file over it.  Discard(), or destruction
// without a commit, removes the temporary file.  So whatever fails on the way (a missing
// folder, a full disk, a file-size limit, a record that cannot be formatted) the old file
// stays byte for byte as it was, and no half-written file takes its place.  A target
// that exists keeps its permissions; one the user has made read-only is not replaced.
// A target that is a symbolic link writes the file it points at (the link stays), and
// the temporary files a dead process left beside the target are removed.
class TextOutputFile {
 public:
  TextOutputFile() = default;
  ~TextOutputFile() { Discard(); }
  TextOutputFile(const TextOutputFile&) = delete;
  TextOutputFile& operator=(const TextOutputFile&) = delete;

  // False when the temporary file cannot be made (or the target may not be written).
  bool Create(const std::filesystem::path& path);
  bool IsOpen() const { return file_ != nullptr; }
  // Writes bytes as they are / followed by CR LF.  False once anything failed.
  bool Write(std::string_view bytes);
  bool WriteLine(std::string_view bytes);
  // Hands what was written to the system (the file stays open); false once anything failed.
  bool Flush();
  // The bytes written so far.
  uint64_t Written() const { return written_; }
  // Writes `bytes` over those written from `offset` on (which must all have been written);
  // false once anything failed.
  bool WriteAt(uint64_t offset, std::string_view bytes);
  // Hands what was written to the system and waits until it is on the disk (the file
  // stays open, under its temporary name); false once anything failed.  Commit after it
  // has little left to wait for: a file formed on another thread is synced there.
  bool Sync();
  // Puts the file in the target's place; false, with the temporary file removed and the
  // target untouched, when nothing is open or anything of the file failed.
  bool Commit();
  // Removes the temporary file; the target stays as it was.
  void Discard();

 private:
  // Hands the bytes written since the last call to the system and asks it to start
  // writing them to the disk (Linux), so that the disk works while the program forms
  // the rest and Commit's wait for the disk is short.
  void StartWriteback();

  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> buffer_;  // file_'s buffer, which outlives it
  bool failed_ = false;
  uint64_t written_ = 0, handed_ = 0;  // bytes written; bytes whose writing to disk was started
  std::filesystem::path target_, temporary_;
};

// Writes `bytes` as the whole file at `path` through a TextOutputFile: the old file is
// replaced only when every byte is written; false when it is not.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Full path of a file of the application folder, such as AppPath(folder, "Dat", "x.txt").
std::filesystem::path AppPath(const std::filesystem::path& appFolder, std::string_view relUtf8);

// Path text for messages (UTF-8).
std::string PathText(const std::filesystem::path& path);

}  // namespace planova
