# SPDX-License-Identifier: MIT
cmake_policy(SET CMP0054 NEW)
# An engine at an altitude from the command line: its figures in both unit
# systems, the JSON's engine object, the CSV's dimensional columns, the
# thrust over altitude, and refusals in words with exit status 2.
set(engine --me-sup 3 --k 1.2 --p0 7MPa --t0 3500K --throat-area 300cm2 --molar-mass 22)
execute_process(COMMAND ${EXE} ${engine} --altitude 0 --explain OUTPUT_VARIABLE si RESULT_VARIABLE rc)
execute_process(COMMAND ${EXE} ${engine} --altitude 0 --units us OUTPUT_VARIABLE us)
foreach(want "regime: exit expansion" "Altitude 0 km: outside pressure 101.3 kPa"
             "Thrust F = 334.3 kN" "Specific impulse I_sp = 287.9 s" "Mass flow ṁ = 118.4 kg/s"
             "The engine. " "under-expanded at every altitude")
  string(FIND "${si}" "${want}" at)
  if(NOT rc EQUAL 0 OR at LESS 0)
    message(FATAL_ERROR "SI report lacks '${want}':\n${si}")
  endif()
endforeach()
foreach(want "Altitude 0 ft: outside pressure 14.7 psi" "Thrust F = 75152 lbf"
             "Specific impulse I_sp = 287.9 s" "p0 = 1015 psi, T0 = 6300 R")
  string(FIND "${us}" "${want}" at)
  if(at LESS 0)
    message(FATAL_ERROR "US report lacks '${want}':\n${us}")
  endif()
endforeach()
# A chamber below the air outside: nothing flows, and the air outside
# keeps its own pressure.
execute_process(COMMAND ${EXE} --me-sup 3 --p0 50kPa --t0 3500K --throat-area 300cm2 --altitude 0
                        --explain
                OUTPUT_VARIABLE none RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT none MATCHES "regime: no flow\nAltitude 0 km: outside pressure 101\\.3 kPa"
   OR none MATCHES "outside 50 kPa" OR NOT none MATCHES "Pe/Po = 1: the back pressure is above the reservoir")
  message(FATAL_ERROR "no flow:\n${none}")
endif()
execute_process(COMMAND ${EXE} --me-sup 3 --p0 50kPa --t0 3500K --throat-area 300cm2 --altitude 0
                        --json OUTPUT_VARIABLE none)
string(JSON pb GET "${none}" engine p_b value)
if(NOT pb MATCHES "^101325(\\.0)?$")
  message(FATAL_ERROR "no flow: the JSON's back pressure is ${pb} Pa, not the air's")
endif()

execute_process(COMMAND ${EXE} ${engine} --altitude 20km --json OUTPUT_VARIABLE json)
string(JSON unit GET "${json}" engine F unit)
string(JSON units GET "${json}" engine units)
string(JSON altitude GET "${json}" engine altitude value)
string(JSON pepo GET "${json}" PePo)
string(JSON design TYPE "${json}" engine design_altitude)
if(NOT unit STREQUAL "N" OR NOT units STREQUAL "si" OR NOT altitude MATCHES "^20000(\\.0)?$"
   OR NOT pepo MATCHES "^0\\.000789" OR NOT design STREQUAL "NULL")
  message(FATAL_ERROR "engine JSON: F in ${unit}, ${units}, altitude ${altitude}, Pe/Po ${pepo}, design ${design}")
endif()
execute_process(COMMAND ${EXE} ${engine} --altitude 65000ft --units us --json OUTPUT_VARIABLE json)
string(JSON unit GET "${json}" engine F unit)
string(JSON altitude GET "${json}" engine altitude value)
if(NOT unit STREQUAL "lbf" OR NOT altitude MATCHES "^65000(\\.0)?$")
  message(FATAL_ERROR "US engine JSON: F in ${unit}, altitude ${altitude} ft")
endif()

execute_process(COMMAND ${EXE} ${engine} --altitude 20km --csv - OUTPUT_VARIABLE csv)
string(REGEX MATCH "^[^\n]*" header "${csv}")
if(NOT header MATCHES ",V_astar,p \\(Pa\\),T \\(K\\),rho \\(kg/m3\\),V \\(m/s\\)$")
  message(FATAL_ERROR "CSV header: ${header}")
endif()

execute_process(COMMAND ${EXE} ${engine} --altitude-table 0:86:43 OUTPUT_VARIABLE table RESULT_VARIABLE rc)
string(REGEX MATCHALL "\n" rows "${table}")
list(LENGTH rows count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 4 OR NOT table MATCHES "^altitude \\(km\\),outside pressure \\(Pa\\)"
   OR NOT table MATCHES "\n86,0\\.37338")
  message(FATAL_ERROR "altitude table (${count} lines):\n${table}")
endif()

# An area ratio gives the design Mach number of the gas.
execute_process(COMMAND ${EXE} --area-ratio 1.6875 --json OUTPUT_VARIABLE json)
string(JSON me GET "${json}" M_max)
if(NOT me MATCHES "^2\\.0000000000000|^1\\.999999999999")
  message(FATAL_ERROR "--area-ratio 1.6875 gave Me_Sup ${me}")
endif()

foreach(case "p0 = takes;--p0;7 Mpascal;--t0;3500;--throat-area;300"
             "Altitude = must be;--p0;7MPa;--t0;3500;--throat-area;300;--altitude;90km"
             "--altitude needs an engine;--altitude;20km"
             "--molar-mass is needed for a gas with k = 1.25;--k;1.25;--p0;7MPa;--t0;3500;--throat-area;300"
             "--units takes si or us;--units;metric"
             "--units needs an engine;--units;us"
             "p0 = must be a pressure from 1 kPa (0.145 psi) to 1000 MPa;--p0;1e-320Pa;--t0;3500;--throat-area;300"
             "T0 = must be a temperature from 50 K;--p0;7MPa;--t0;1e-300K;--throat-area;300"
             "A_t = must be a diameter from 0.1 mm (0.003937 in) to 10 m;--p0;7MPa;--t0;3500;--throat-diameter;1e-200m"
             "A_t = must be an area from 0.01 mm²;--p0;7MPa;--t0;3500;--throat-area;1e-300m2"
             "Ae/At = must be;--area-ratio;0.5"
             "an engine needs;--p0;7MPa"
             "--altitude-table: Altitude = must be;--p0;7MPa;--t0;3500;--throat-area;300;--altitude-table;0:90:10")
  list(POP_FRONT case want)
  execute_process(COMMAND ${EXE} ${case} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  string(REGEX MATCHALL "\n" lines "${err}")
  list(LENGTH lines count)
  string(FIND "${err}" "${want}" at)
  if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT count EQUAL 1 OR NOT at EQUAL 0)
    message(FATAL_ERROR "${case}: rc=${rc} stdout='${out}' stderr='${err}'")
  endif()
endforeach()
