# SPDX-License-Identifier: MIT
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
# The grid-free shock beside the grid's: A/At 1.23155 at Mach 1.576369.
string(JSON exact_x GET "${json}" exact_shock x)
string(JSON exact_keys LENGTH "${json}" exact_shock)
string(JSON waves TYPE "${json}" exit_waves)
if(NOT rc EQUAL 0 OR NOT ins EQUAL 66 OR NOT regime STREQUAL "normal shock inside"
   OR NOT stations EQUAL 101 OR NOT color STREQUAL "red" OR NOT x1 STREQUAL "1.575"
   OR NOT exact_x MATCHES "^1\\.576369" OR NOT exact_keys EQUAL 6 OR NOT waves STREQUAL "NULL")
  message(FATAL_ERROR "unexpected JSON: i_NS=${ins} regime=${regime} stations=${stations} mark=${color} ${x1} exact x=${exact_x} (${exact_keys} keys) waves ${waves}")
endif()

# The exit waves as data: the strong oblique shock of Pe/Po 0.5 (beta
# 69.213, theta 22.358, at most 22.974 attached), the expansion of Pe/Po 0.1
# (Prandtl-Meyer 26.380 to 30.615 degrees).
foreach(case "0.5;beta_deg;69.21;theta_max_deg;22.97;strong;ON" "0.1;nu_exit_deg;26.37;turn_deg;4.23;M_jet;2.157")
  list(GET case 0 pepo)
  execute_process(COMMAND ${EXE} --json --pe-po ${pepo} OUTPUT_VARIABLE json)
  foreach(i 1 3 5)
    math(EXPR j "${i} + 1")
    list(GET case ${i} key)
    list(GET case ${j} want)
    string(JSON got GET "${json}" exit_waves ${key})
    if(want STREQUAL "ON")
      if(NOT got)
        message(FATAL_ERROR "Pe/Po ${pepo}: exit_waves ${key} is ${got}")
      endif()
    elseif(NOT got MATCHES "^${want}")
      message(FATAL_ERROR "Pe/Po ${pepo}: exit_waves ${key} is ${got}, expected ${want}...")
    endif()
  endforeach()
endforeach()

# --unsteady: the textbook's MacCormack case (its Courant number 0.5 the
# scheme's default), its throat after 1400 steps (p/p0 0.534), the cells
# under plain keys, the events and the history.
execute_process(COMMAND ${EXE} --unsteady --json --contour textbook --scheme maccormack
                        --cells 31 --start textbook --steps 1400 --pe-po 0.01
  OUTPUT_VARIABLE json RESULT_VARIABLE rc)
string(JSON cells LENGTH "${json}" cells)
string(JSON throat_x GET "${json}" cells 15 x)
string(JSON throat_p GET "${json}" cells 15 "p/p0")
string(JSON throat_mdot GET "${json}" cells 15 "mdot/mdot*")
string(JSON throat_M GET "${json}" cells 15 M)
string(JSON exit_mdot GET "${json}" cells 30 "mdot/mdot*")
string(JSON last_point LENGTH "${json}" history)
math(EXPR last_point "${last_point} - 1")
string(JSON history_exit_mdot GET "${json}" history ${last_point} "mdot exit")
string(JSON area GET "${json}" cells 0 "A/At")
string(JSON steps GET "${json}" steps)
string(JSON courant GET "${json}" courant)
string(JSON events TYPE "${json}" events)
string(JSON history LENGTH "${json}" history)
# The throat's choking, in time and in steps, before the run's end.
string(JSON t_end GET "${json}" t)
string(JSON choke GET "${json}" events 0 event)
string(JSON choke_t GET "${json}" events 0 t)
string(JSON choke_step GET "${json}" events 0 step)
if(NOT choke STREQUAL "the throat chokes" OR NOT choke_t GREATER 0 OR NOT choke_t LESS t_end
   OR NOT choke_step GREATER 0 OR NOT choke_step LESS steps)
  message(FATAL_ERROR "the throat chokes: ${choke} at t=${choke_t}, step ${choke_step}, run to t=${t_end}")
endif()
if(NOT rc EQUAL 0 OR NOT cells EQUAL 31 OR NOT throat_x STREQUAL "1.5" OR NOT throat_p MATCHES "^0\\.534"
   OR NOT throat_mdot MATCHES "^1\\.0" OR NOT throat_M MATCHES "^0\\.99[89]"
   OR NOT history_exit_mdot STREQUAL exit_mdot OR NOT area MATCHES "^5\\.95" OR NOT steps EQUAL 1400 OR NOT courant STREQUAL "0.5"
   OR NOT events STREQUAL "ARRAY" OR history LESS 100)
  message(FATAL_ERROR "unexpected unsteady JSON: ${cells} cells, throat x=${throat_x} p=${throat_p} M=${throat_M} mdot=${throat_mdot}, exit mdot ${exit_mdot} (history ${history_exit_mdot}), A=${area}, ${steps} steps at ${courant}, events ${events}, ${history} history points")
endif()
