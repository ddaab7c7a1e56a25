# Route and batch planning with koltar-cli on the sample map: the result lines, the
# messages, the exit status, the route picture and the route-plan file.
# Called with -DCLI=... -DDIR=<the sample map's folder> -DWORK=<a scratch folder>.

set(failures "")

# check(<name> <status> <expected stdout> <regex stderr must match, or ""> <args...>)
function(check name status expected errors)
  execute_process(COMMAND ${CLI} ${ARGN} WORKING_DIRECTORY ${DIR}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL status)
    set(problem "status ${rc}, expected ${status}")
  elseif(NOT out STREQUAL expected)
    set(problem "output\n${out}expected\n${expected}")
  elseif(errors STREQUAL "" AND err MATCHES "KOLTAR32")
    set(problem "messages\n${err}")
  elseif(NOT errors STREQUAL "" AND NOT err MATCHES "${errors}")
    set(problem "messages\n${err}expected to match ${errors}")
  endif()
  if(DEFINED problem)
    set(failures "${failures}\n--- ${name}: ${problem}" PARENT_SCOPE)
  endif()
endfunction()

set(herend_epleny
"» Herend                           0.0  00:00     0.0
  Veszprém                        13.6  00:10   477.5
» Eplény                          26.1  00:35   726.7
")
set(plan
"Település                      Távolság  Idő   Költség
======================================================
[1. Herend - Eplény]
${herend_epleny}------------------------------------------------------
[2. Várpalota - Veszprém - Öskü]
» Várpalota                        0.0  00:00     0.0
» Veszprém                        10.0  00:05   449.9
» Öskü                            23.5  00:15   921.1
")

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

check(route 0 "${herend_epleny}" "" route map.map Herend Eplény)
check(route_by_distance 0
"» Herend                           0.0  00:00     0.0
  Veszprém                        13.6  00:10   477.5
» Öskü                            27.1  00:20   948.6
" "" route map.map --criterion distance Herend Öskü)
check(route_png 0 "${herend_epleny}" "route.png: 640x480, 1 : "
      route map.map --png ${WORK}/route.png --size 640x480 Herend Eplény)
check(route_unknown_name 1 "" "KOLTAR32: 'Hrend' település nem található a program adatbázisában."
      route map.map Hrend Eplény)
check(route_one_name 2 "" "two settlements" route map.map Herend)
check(route_bad_criterion 2 "" "bad option --criterion fast" route map.map --criterion fast Herend Eplény)

check(batch 0 "${plan}" "" batch map.map routes.dat --out ${WORK}/plan.txt)
# An end-point file in UTF-8 is read as such.
file(WRITE ${WORK}/utf8.dat "[1. Herend - Eplény]\nHerend\nEplény")
check(batch_utf8 0 "Település                      Távolság  Idő   Költség
======================================================
[1. Herend - Eplény]
${herend_epleny}" "" batch map.map ${WORK}/utf8.dat)
file(WRITE ${WORK}/one.dat "[x]\nHerend\n[y]\nHerend\nEplény\n")
check(batch_one_name 1 "Település                      Távolság  Idő   Költség
======================================================
[x]
------------------------------------------------------
Az útvonal kezdő-, vagy végpontja nincs megadva.
" "" batch map.map ${WORK}/one.dat)
check(batch_missing_source 1 "" "KOLTAR32: '.*missing.dat' file nem nyitható meg." batch map.map ${WORK}/missing.dat)

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "${failures}")
endif()

# The picture is a 640x480 PNG.
file(READ ${WORK}/route.png header LIMIT 24 HEX)
if(NOT header STREQUAL "89504e470d0a1a0a0000000d4948445200000280000001e0")
  message(FATAL_ERROR "route.png is not a 640x480 PNG: ${header}")
endif()
# The route-plan file is code page 1250 with a line feed after each line: the header
# starts with "Telep", 0xFC ("ü"), "l", 0xE9 ("é"), "s"; the first entry is 0xBB ("»")
# " Herend".
file(READ ${WORK}/plan.txt bytes HEX)
if(NOT bytes MATCHES "^54656c6570fc6ce973" OR NOT bytes MATCHES "0abb2048657265")
  message(FATAL_ERROR "plan.txt is not the code page 1250 route plan: ${bytes}")
endif()
message(STATUS "route and batch planning checked")
