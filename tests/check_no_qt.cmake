# SPDX-License-Identifier: MIT
# Fails when a file under DIR includes a Qt header.
file(GLOB_RECURSE sources "${DIR}/*.h" "${DIR}/*.cpp")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" hits REGEX "#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt)")
  if(hits)
    message(FATAL_ERROR "${source} includes Qt: ${hits}")
  endif()
endforeach()
list(LENGTH sources count)
message(STATUS "${count} core files checked, none includes Qt")
