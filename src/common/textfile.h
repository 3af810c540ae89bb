// Sequential text files as the program and its users' catalogues keep them:
// single-byte Windows-1251 text, lines ending in CR LF.  Fixed columns of the source
// layouts and of BDL are byte columns of that code page, so lines are handled as bytes
// and converted to UTF-8 only for display.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace planova {

// Code-page conversions.  Characters that Windows-1251 cannot hold become "?".
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view bytes);

// Length of a UTF-8 text in characters (the width a text takes in a Windows-1251 line).
size_t Utf8Length(std::string_view utf8);

// A file opened for sequential reading, line by line.  A line ends at LF; a CR just
// before it is dropped, so CR LF and LF files read alike.
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
  std::FILE* file_ = nullptr;
};

// A file opened for sequential writing (created anew) or appending.
class TextOutputFile {
 public:
  TextOutputFile() = default;
  ~TextOutputFile() { Close(); }
  TextOutputFile(const TextOutputFile&) = delete;
  TextOutputFile& operator=(const TextOutputFile&) = delete;

  bool Create(const std::filesystem::path& path);
  bool Append(const std::filesystem::path& path);
  bool IsOpen() const { return file_ != nullptr; }
  // Writes bytes as they are / followed by CR LF.  False once anything failed.
  bool Write(std::string_view bytes);
  bool WriteLine(std::string_view bytes);
  // Hands what was written to the system (the file stays open); false once anything failed.
  bool Flush();
  // Closes the file; false when a write or the close itself failed.
  bool Close();

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

// Full path of a file of the application folder, such as AppPath(folder, "Dat", "x.txt").
std::filesystem::path AppPath(const std::filesystem::path& appFolder, std::string_view relUtf8);

// Path text for messages (UTF-8).
std::string PathText(const std::filesystem::path& path);

}  // namespace planova
