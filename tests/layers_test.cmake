# The layer checker on small trees made here: each include against the layers is
# refused with its file and line, and a tree that keeps to the layers passes.
#
#   cmake -DCHECKER=<scripts/check_layers.cmake> -DWORK=<scratch folder> -P layers_test.cmake
cmake_minimum_required(VERSION 3.22)

set(failures 0)

# check(<case> <expected: PASS or the "file:line" the refusal names> <file> <text> ...)
# Makes a tree of the given files (each a path below src/ and its text) and runs the checker.
function(check name expected)
  set(src "${WORK}/${name}/src")
  file(REMOVE_RECURSE "${WORK}/${name}")
  set(args ${ARGN})
  while(args)
    list(POP_FRONT args path text)
    file(WRITE "${src}/${path}" "${text}")
  endwhile()
  execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${src} -DNO_EXCEPTIONS=ON -P ${CHECKER}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(expected STREQUAL "PASS")
    if(NOT rc EQUAL 0)
      message("${name}: refused a tree that keeps to the layers:\n${out}")
      math(EXPR failures "${failures} + 1")
      set(failures ${failures} PARENT_SCOPE)
    endif()
    return()
  endif()
  string(FIND "${out}" "${src}/${expected}: " at)
  if(rc EQUAL 0 OR at EQUAL -1)
    message("${name}: expected a refusal at ${expected}, got (exit ${rc}):\n${out}")
    math(EXPR failures "${failures} + 1")
    set(failures ${failures} PARENT_SCOPE)
  endif()
endfunction()

set(ok "#pragma once\n")
check(upward_include "astro/orbit.cpp:3"
  astro/orbit.cpp "#include \"astro/orbit.h\"\n\n#include \"window2/window2_model.h\"\n"
  astro/orbit.h "${ok}" window2/window2_model.h "${ok}")
check(window_models_side_by_side "window3/window3_model.cpp:1"
  window3/window3_model.cpp "#include \"window2/theory.h\"\n" window2/theory.h "${ok}")
check(qt_outside_ui "app/batch.cpp:2"
  app/batch.cpp "#include <queue>\n#include <QString>\n")
check(qt_gui_in_import "import/zip_workbook.cpp:2"
  import/zip_workbook.cpp "#include <QXmlStreamReader>\n#include <QtGui/QColor>\n")
check(qt_xml_outside_import "bdl/bdl_file.cpp:1"
  bdl/bdl_file.cpp "#include <QXmlStreamReader>\n")
check(platform_in_bdl "bdl/bdl_line.cpp:1"
  bdl/bdl_line.cpp "#include \"common/platform.h\"\n" common/platform.h "${ok}")
check(astro_state_above_astro "window2/window2_model.h:2"
  window2/window2_model.h "#include \"astro/astronomy.h\"\n#include \"astro/astro_state.h\"\n"
  astro/astronomy.h "${ok}" astro/astro_state.h "${ok}")
check(folder_in_no_layer "widgets/x.h:1"
  widgets/x.h "${ok}")
check(keeps_to_the_layers PASS
  main.cpp "#include <QApplication>\n#include \"ui/desktop.h\"\n"
  ui/desktop.h "#include <QWidget>\n#include \"app/application.h\"\n"
  app/application.h "#include \"window1/window1_model.h\"\n#include \"common/platform.h\"\n"
  window1/window1_model.h "#include \"import/source_import.h\"\n#include \"common/form.h\"\n"
  import/source_import.h "#include \"bdl/bdl_line.h\"\n"
  import/zip_workbook.cpp "#include <QXmlStreamReader>\n#include \"import/source_import.h\"\n" bdl/bdl_line.h "#include \"astro/time.h\"\n"
  astro/time.h "#include \"common/numtext.h\"\n" common/numtext.h "${ok}"
  astro/astronomy.cpp "#include \"astro/astro_state.h\"\n" astro/astro_state.h "${ok}"
  common/form.h "#include \"common/platform.h\"\n" common/platform.h "${ok}")

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} case(s) of the layer checker failed")
endif()
