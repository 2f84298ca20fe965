# cdnozzle-report --me-sup 2 --pe-po 0.8: the eight report lines, the regime
# and the station table; --json parses and places the shock at station 66.
execute_process(COMMAND ${EXE} --me-sup 2 --pe-po 0.8
  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit status ${rc}")
endif()
set(expected "iMax=100
M_max=2
Me_sub limit=0.3722
Pe/Po sesaltı limit=0.9088
Pe/Po sesüstü limit(NShock)=0.5751
Pe/Po sesüstü limit(OShock)=0.1278
A2*=1.1058
Po2/Po*=0.9044
regime: normal shock inside
i\tx\ty\tAA\tM\tPiPo\tT_T0\trho_rho0\tV_astar
1\t0.05\t")
string(FIND "${out}" "${expected}" at)
if(NOT at EQUAL 0)
  message(FATAL_ERROR "unexpected report:\n${out}")
endif()
string(REGEX MATCHALL "\n[0-9]+\t" rows "${out}")
list(LENGTH rows count)
if(NOT count EQUAL 101)
  message(FATAL_ERROR "${count} station rows, expected 101")
endif()

execute_process(COMMAND ${EXE} --json --me-sup 2 --pe-po 0.8
  OUTPUT_VARIABLE json RESULT_VARIABLE rc)
string(JSON ins GET "${json}" i_NS)
string(JSON regime GET "${json}" regime)
string(JSON stations LENGTH "${json}" stations)
string(JSON color GET "${json}" marks 0 color)
string(JSON x1 GET "${json}" marks 0 x1)
if(NOT rc EQUAL 0 OR NOT ins EQUAL 66 OR NOT regime STREQUAL "normal shock inside"
   OR NOT stations EQUAL 101 OR NOT color STREQUAL "red" OR NOT x1 STREQUAL "1.575")
  message(FATAL_ERROR "unexpected JSON: i_NS=${ins} regime=${regime} stations=${stations} mark=${color} ${x1}")
endif()
