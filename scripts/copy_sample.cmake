# Copies the tracked sample application folder into the build tree without ever
# overwriting what the program wrote there (output files stay between runs).
file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*")
foreach(f IN LISTS files)
  if(f MATCHES "(^|/)\\.gitkeep$")
    get_filename_component(dir "${f}" DIRECTORY)
    file(MAKE_DIRECTORY "${DST}/${dir}")
  elseif(NOT EXISTS "${DST}/${f}" OR "${SRC}/${f}" IS_NEWER_THAN "${DST}/${f}")
    get_filename_component(dir "${f}" DIRECTORY)
    file(MAKE_DIRECTORY "${DST}/${dir}")
    file(COPY_FILE "${SRC}/${f}" "${DST}/${f}")
  endif()
endforeach()
