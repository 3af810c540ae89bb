// Name parts that the user types (an observatory code, a file number or name part) and
// that the windows join into the paths of the application folder.
#pragma once

#include <string_view>

namespace planova {

// True when a name part keeps a path inside its folder: no "/", no "\" and no "..".
// "PARI", "G_110" and an empty part are plain; "../x", "a/b", "a\b" and "x..y" are not.
bool IsPlainNamePart(std::string_view part);

// The message that refuses a name part that is not plain, followed by the part.
inline constexpr const char* kBadNamePartMessage = "Недопустимое имя файла или обсерватории: ";

}  // namespace planova
