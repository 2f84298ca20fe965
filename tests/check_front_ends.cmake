# SPDX-License-Identifier: MIT
# Fails when a front end (the window, the page's binding) includes a core
# header outside panel/, the view model it binds: every decision it shows
# is made there. Besides panel/ it may include render/ (the painter over
# the display lists) and its own files.
#   cmake -DROOT=<source dir> -P check_front_ends.cmake
cmake_policy(SET CMP0057 NEW)
set(front_ends app web)
file(GLOB render_headers RELATIVE "${ROOT}/render" "${ROOT}/render/*.h")
set(checked 0)
foreach(front_end IN LISTS front_ends)
  file(GLOB_RECURSE sources RELATIVE "${ROOT}/${front_end}"
       "${ROOT}/${front_end}/*.h" "${ROOT}/${front_end}/*.cpp")
  foreach(source IN LISTS sources)
    get_filename_component(folder "${ROOT}/${front_end}/${source}" DIRECTORY)
    file(STRINGS "${ROOT}/${front_end}/${source}" includes REGEX "^#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
      if(header MATCHES "^(panel|render)/")
        continue()
      endif()
      if(NOT header MATCHES "/" AND (EXISTS "${folder}/${header}" OR header IN_LIST render_headers))
        continue()
      endif()
      message(FATAL_ERROR "${front_end}/${source} includes \"${header}\": a front end uses only panel/ and render/ from the core")
    endforeach()
    math(EXPR checked "${checked} + 1")
  endforeach()
endforeach()
message(STATUS "${checked} front-end files checked: they include only panel/ and render/")
