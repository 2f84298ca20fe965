# SPDX-License-Identifier: MIT
# A refused input: exit status 2, one line on stderr, nothing on stdout.
foreach(args "--pe-po;1.2" "--me-sup;abc" "--amax;-0.1" "--pe-po;0")
  execute_process(COMMAND ${EXE} ${args}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  string(REGEX MATCHALL "\n" lines "${err}")
  list(LENGTH lines count)
  if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT count EQUAL 1 OR NOT err MATCHES "must be a number")
    message(FATAL_ERROR "${args}: rc=${rc} stdout='${out}' stderr='${err}'")
  endif()
endforeach()
execute_process(COMMAND ${EXE} --pe-po 1.2 ERROR_VARIABLE err)
if(NOT err STREQUAL "Pe/Po = must be a number above 0 and at most 1 (got \"1.2\")\n")
  message(FATAL_ERROR "message: ${err}")
endif()

# --plot: a name it knows, an engine for the thrust, a picture to draw.
foreach(args "--plot;xyz;--svg;-" "--plot;thrust;--svg;-" "--plot;T"
             "--plot;thrust;--sweep;1:0.5:0.1;--frames;${CMAKE_CURRENT_BINARY_DIR}/never")
  execute_process(COMMAND ${EXE} ${args}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT err MATCHES "--plot")
    message(FATAL_ERROR "${args}: rc=${rc} stdout='${out}' stderr='${err}'")
  endif()
endforeach()

# The unsteady mode refuses in words as well: exit status 2, one line.
foreach(args "--unsteady;--cfl;1.2" "--unsteady;--cells;19" "--unsteady;--scheme;lax-wendroff"
             "--unsteady;--contour;${CMAKE_CURRENT_LIST_DIR}/no-such-contour.csv"
             "--unsteady;--steps;10;--until-steady" "--unsteady;--pe-po;0"
             "--unsteady;--contour;${CMAKE_CURRENT_LIST_DIR}" "--unsteady;--contour;/dev/zero"
             "--unsteady;--csv;-;--history;-" "--unsteady;--json;--history;-"
             "--unsteady;--csv;h.csv;--history;./h.csv")
  execute_process(COMMAND ${EXE} ${args} TIMEOUT 60
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  string(REGEX MATCHALL "\n" lines "${err}")
  list(LENGTH lines count)
  if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT count EQUAL 1)
    message(FATAL_ERROR "${args}: rc=${rc} stdout='${out}' stderr='${err}'")
  endif()
endforeach()
