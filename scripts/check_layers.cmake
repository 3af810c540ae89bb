# Refuses an include that goes against the layers of the sources:
#
#   common < astro < formats (bdl, import, compare) < window models (window1, window2,
#          window3, help, and models: the texts they share) < app < ui < main.cpp
#
# A file may include headers of its own layer and of the layers below it, never above.
# The window models do not include one another.  Qt headers (<Q...>) stand only in ui/
# and main.cpp, except Qt Core's XML stream reader in import/ (the .xlsx and .ods
# reader), and astro/ and bdl/ include neither the platform (message box, busy pointer)
# nor the form model that carries it.
#
#   cmake -DSRC=<source folder> [-DNO_EXCEPTIONS=ON] -P scripts/check_layers.cmake
#
# Every refused include is printed as "file:line: reason"; the script then fails.  The
# build runs it before compiling (the target check_layers).  An include that a temporary
# exception below allows is printed as well, marked "allowed for now", and does not fail
# (NO_EXCEPTIONS=ON refuses it too).
cmake_minimum_required(VERSION 3.22)

if(NOT SRC)
  message(FATAL_ERROR "check_layers: give the source folder with -DSRC=<folder>")
endif()
get_filename_component(SRC "${SRC}" ABSOLUTE)

# Rank of each folder; a file may include a folder of its rank or lower.
set(rank_common 0)
set(rank_astro 1)
set(rank_bdl 2)
set(rank_import 2)
set(rank_compare 2)
set(rank_window1 3)
set(rank_window2 3)
set(rank_window3 3)
set(rank_help 3)
set(rank_models 3)
set(rank_app 4)
set(rank_ui 5)
set(rank_main.cpp 6)
set(window_models window1 window2 window3 help)
set(platform_free astro bdl compare)
set(platform_headers common/platform.h common/form.h)
# Qt headers allowed below ui/, by folder.
set(qt_headers_import QXmlStreamReader QtCore/QXmlStreamReader)

# The astronomy state and its parts are astro/'s own: the layers above ask the Astronomy
# value (astro/astronomy.h).
set(astro_state_headers astro/astro_state.h astro/jpl_state.h astro/jpl_ascii.h astro/orbit_state.h astro/precise_state.h
    astro/reductions_state.h)
set(astro_state_private ON)

# Temporary exceptions, "file|included header", for an include on its way out (none
# now).  Each line goes as soon as its include is gone (an unused one is reported).
set(exceptions)

set(refused 0)
set(used_exceptions "")

# Reports one refused include unless an exception allows it.
macro(refuse file line header reason)
  if(NOT NO_EXCEPTIONS AND "${file}|${header}" IN_LIST exceptions)
    message("${SRC}/${file}:${line}: allowed for now: ${reason}")
    list(APPEND used_exceptions "${file}|${header}")
  else()
    message("${SRC}/${file}:${line}: ${reason}")
    math(EXPR refused "${refused} + 1")
  endif()
endmacro()

file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.hpp" "${SRC}/*.cpp" "${SRC}/*.cc")
list(SORT files)
foreach(file IN LISTS files)
  string(REGEX REPLACE "/.*" "" layer "${file}")
  if(NOT DEFINED rank_${layer})
    message("${SRC}/${file}:1: ${layer} is in no layer (add it to scripts/check_layers.cmake)")
    math(EXPR refused "${refused} + 1")
    continue()
  endif()
  set(rank ${rank_${layer}})

  # One list element per line; the characters that would split or join elements
  # (";", "\", brackets) do not matter to an include and are replaced.
  file(READ "${SRC}/${file}" text)
  string(REPLACE "\\" "/" text "${text}")
  string(REPLACE ";" "," text "${text}")
  string(REPLACE "[" "(" text "${text}")
  string(REPLACE "]" ")" text "${text}")
  string(REPLACE "\r" "" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")

  set(n 0)
  foreach(line IN LISTS lines)
    math(EXPR n "${n} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include")
      continue()
    endif()
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*<(Q[^>]*)>")
      if(NOT layer STREQUAL "ui" AND NOT layer STREQUAL "main.cpp" AND NOT CMAKE_MATCH_1 IN_LIST qt_headers_${layer})
        refuse("${file}" ${n} "${CMAKE_MATCH_1}" "Qt header <${CMAKE_MATCH_1}> outside ui/ and main.cpp (import/ may include only <QXmlStreamReader>)")
      endif()
      continue()
    endif()
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(header "${CMAKE_MATCH_1}")
    if(header MATCHES "(^|/)\\.\\./")
      refuse("${file}" ${n} "${header}" "\"${header}\": include by the folder's name, not with ../")
      continue()
    endif()
    if(NOT header MATCHES "/")
      continue()  # a header beside the file: its own folder
    endif()
    string(REGEX REPLACE "/.*" "" target "${header}")
    if(NOT DEFINED rank_${target})
      refuse("${file}" ${n} "${header}" "\"${header}\": ${target} is in no layer")
    elseif(rank_${target} GREATER rank)
      refuse("${file}" ${n} "${header}" "${layer} must not include ${header} (a higher layer)")
    elseif(NOT target STREQUAL layer AND layer IN_LIST window_models AND target IN_LIST window_models)
      refuse("${file}" ${n} "${header}" "${layer} must not include ${header} (window models do not include one another)")
    elseif(layer IN_LIST platform_free AND header IN_LIST platform_headers)
      refuse("${file}" ${n} "${header}" "${layer} must not include ${header} (only window models show messages)")
    elseif(astro_state_private AND NOT layer STREQUAL "astro" AND header IN_LIST astro_state_headers)
      refuse("${file}" ${n} "${header}" "${layer} must not include ${header} (the astronomy state is private to astro/: use astro/astronomy.h)")
    endif()
  endforeach()
endforeach()

if(NOT NO_EXCEPTIONS)
  foreach(e IN LISTS exceptions)
    if(NOT e IN_LIST used_exceptions)
      string(REPLACE "|" " includes " shown "${e}")
      message("check_layers: an exception no longer needed (delete it): ${shown}")
    endif()
  endforeach()
endif()

if(refused GREATER 0)
  message(FATAL_ERROR "check_layers: ${refused} include(s) against the layers")
endif()
