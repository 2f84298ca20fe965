# SPDX-License-Identifier: MIT
# cmake --install into a scratch prefix: both programs, the menu entry, the
# icon and the README land, and the programs tell the project's version.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed: ${rc}")
endif()
foreach(f bin/cdnozzle bin/cdnozzle-report share/applications/cdnozzle.desktop
          share/icons/hicolor/scalable/apps/cdnozzle.svg share/doc/cdnozzle/README.md share/doc/cdnozzle/LICENSE)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "missing ${f}")
  endif()
endforeach()
foreach(program cdnozzle cdnozzle-report)
  execute_process(COMMAND "${PREFIX}/bin/${program}" --version OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "${program} ${VERSION}\n")
    message(FATAL_ERROR "${program} --version: ${rc} '${out}'")
  endif()
endforeach()
file(READ "${PREFIX}/share/applications/cdnozzle.desktop" desktop)
if(NOT desktop MATCHES "\nExec=cdnozzle\n" OR NOT desktop MATCHES "\nIcon=cdnozzle\n")
  message(FATAL_ERROR "desktop entry: ${desktop}")
endif()
