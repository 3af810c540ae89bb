// The program's texts for what the routines below the windows report: the window models
// turn a status into one of these and show it (title "Planova").
#pragma once

#include <filesystem>
#include <string>

#include "astro/de405_state.h"
#include "common/textfile.h"

namespace planova {

inline constexpr const char* kWrongDateMessage = "Введите правильно дату";
inline constexpr const char* kWrongJdMessage = "Введите правильно юлианскую дату";
inline constexpr const char* kWrongDataMessage = "Введите правильно данные";
inline constexpr const char* kCreateArraysFirstMessage = "Сначала создайте массивы данных (кнопка \"Создать массивы с N=\")";

// An ephemeris failure as the windows report it (empty for none).
inline std::string EphemerisMessage(EphemerisFailure f) {
  switch (f) {
    case EphemerisFailure::kNoSuchDate: return "В файлах DE405 нет такой даты";
    case EphemerisFailure::kReadError: return "Ошибка чтения файлов JPL DE405";
    default: return {};
  }
}

// A file that could not be written: the message and the file's path.
inline std::string WriteFailureMessage(const std::filesystem::path& path) {
  return "Ошибка записи в файл\r\n" + PathText(path);
}

}  // namespace planova
