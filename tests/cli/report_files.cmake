# SPDX-License-Identifier: MIT
# cdnozzle-report --png/--svg/--csv: the files appear complete; a refused
# save exits 1, says why and leaves no file.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND ${EXE} --me-sup 2.5 --pe-po 0.6 --png ${OUT}/fig.png --svg ${OUT}/fig.svg
                        --csv ${OUT}/data.csv
  OUTPUT_QUIET RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit status ${rc}: ${err}")
endif()
file(READ "${OUT}/fig.png" png LIMIT 8 HEX)
if(NOT png STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "not a PNG: ${png}")
endif()
file(READ "${OUT}/fig.png" ihdr OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING "${ihdr}" 0 8 width)
math(EXPR width "0x${width}")
if(width LESS 1200)
  message(FATAL_ERROR "PNG only ${width} px wide")
endif()
file(READ "${OUT}/fig.svg" svg)
if(NOT svg MATCHES "<svg" OR NOT svg MATCHES "stroke=\"#0072b2\"" OR NOT svg MATCHES ">p/p0<")
  message(FATAL_ERROR "SVG lacks the plots")
endif()
# --plot chooses the third plot: a quantity along the nozzle, or an
# engine's thrust over the climb with the altitude given marked.
foreach(case "T;>T/T0<" "rho;>ρ/ρ0<" "thrust;>F, I_sp<")
  list(GET case 0 plot)
  list(GET case 1 caption)
  execute_process(COMMAND ${EXE} --me-sup 3 --k 1.2 --p0 7MPa --t0 3500K --throat-area 300cm2
                          --molar-mass 22 --altitude 20km --plot ${plot} --svg -
                  OUTPUT_VARIABLE svg RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT svg MATCHES "${caption}" OR svg MATCHES ">p/p0<")
    message(FATAL_ERROR "--plot ${plot}: exit ${rc}, no ${caption} in the SVG")
  endif()
endforeach()
file(STRINGS "${OUT}/data.csv" rows)
list(LENGTH rows count)
list(GET rows 0 header)
if(NOT count EQUAL 102 OR NOT header STREQUAL "i,x,y,AA,M,PiPo,T_T0,rho_rho0,V_astar")
  message(FATAL_ERROR "CSV: ${count} rows, header ${header}")
endif()


# --unsteady --csv and --history: the cells and the time series, complete.
execute_process(COMMAND ${EXE} --unsteady --cells 40 --pe-po 0.7 --csv ${OUT}/cells.csv
                        --history ${OUT}/history.csv
  OUTPUT_VARIABLE out RESULT_VARIABLE rc ERROR_VARIABLE err)
file(STRINGS "${OUT}/cells.csv" rows)
list(LENGTH rows count)
list(GET rows 0 header)
file(STRINGS "${OUT}/history.csv" series)
list(GET series 0 history_header)
list(GET series -1 history_last) # steady, its shock between the throat (x = 1) and the exit
if(NOT rc EQUAL 0 OR NOT count EQUAL 41 OR NOT header STREQUAL "x,A/At,rho/rho0,u/a0,p/p0,T/T0,M,mdot/mdot*"
   OR NOT history_header STREQUAL "step,t,residual,mdot_throat/mdot*,mdot_exit/mdot*,shock_x"
   OR NOT out MATCHES "steady at t=" OR NOT history_last MATCHES ",1\\.[0-9]+$")
  message(FATAL_ERROR "unsteady files: rc=${rc} ${count} rows, ${header} / ${history_header} / ${history_last}: ${out} ${err}")
endif()
