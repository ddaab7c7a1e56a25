# The place search of koltar-cli on the test's sample map (house numbers, no projection)
# and on both sample maps (projection recorded): the lines printed, the messages and the
# exit status. Called with -DCLI=... -DDIR=<the test's sample map folder>
# -DSAMPLES=<data/samples> -DWORK=<a scratch folder>.

set(failures "")

# check(<name> <status> <expected stdout> <regex stderr must match, or ""> <args...>)
function(check name status expected errors)
  execute_process(COMMAND ${CLI} ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL status)
    set(problem "status ${rc}, expected ${status}\n${err}")
  elseif(NOT out STREQUAL expected)
    set(problem "output\n${out}expected\n${expected}")
  elseif(err MATCHES "KOLTAR32")
    set(problem "messages\n${err}")
  elseif(NOT errors STREQUAL "" AND NOT err MATCHES "${errors}")
    set(problem "messages\n${err}expected to match ${errors}")
  endif()
  if(DEFINED problem)
    set(failures "${failures}\n--- ${name}: ${problem}" PARENT_SCOPE)
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
# The tool writes settings back into the map it closes: it works on copies.
foreach(sample hungary gothenburg)
  file(COPY ${SAMPLES}/${sample} DESTINATION ${WORK})
endforeach()
set(m ${DIR}/map.map)
set(h hungary/hungary.map)
set(g gothenburg/gothenburg.map)

# A street with house numbers is listed once, or with --house as the segment holding
# the number; a place found in a point and an area category is listed for both, the
# area at the middle of its rectangle. Without a projection there is no latitude.
check(street 0 "Utcák\tUtca\tFő utca\tmap 1900,1100\tground 669000,241000\n" "" find ${m} "Fő utca")
check(house_number 0 "Utcák\tUtca\tFő utca 2  - 30 \tmap 1950,1110\tground 669500,241100\n" ""
      find ${m} "fo utca" --house 24)
check(house_number_with_letter 0 "Utcák\tUtca\tFő utca 21  - 41b\tmap 2000,1120\tground 670000,241200\n" ""
      find ${m} "Fő utca" --house 41a)
check(point_and_area 0
"Települések\tVáros\tVeszprém\tmap 2060,1210\tground 670600,242100
Területek\tBelterület\tVeszprém\tmap 2075,1225\tground 670750,242250
" "" find ${m} veszprem)
check(area_only 0 "Területek\tBelterület\tVeszprém\tmap 2075,1225\tground 670750,242250\n" ""
      find ${m} Veszprém --category területek)

# The samples: a settlement written without accents, a street, a layer.
set(gyor "Győr\tmap -137011,60909\tground 362989,5284832\tlat 47.683333 lon 17.635126")
check(settlement 0 "Nagyobb települések\tNagyváros\t${gyor}\nHelységek\tNagyváros\t${gyor}\n" ""
      find ${h} gyor)
check(settlement_category 0 "Helységek\tNagyváros\t${gyor}\n" "" find ${h} Győr --category "Helységek")
check(gothenburg 0
"Nagyobb települések\tNagyváros\tGöteborg\tmap -788,-316\tground 499212,6398668\tlat 57.707162 lon 11.966782
Helységek\tNagyváros\tGöteborg\tmap -788,-316\tground 499212,6398668\tlat 57.707162 lon 11.966782
" "" find ${g} goteborg)
check(street_layer 0
      "Helységek\tUtca\tLinnégatan\tmap -1729,-1429\tground 498271,6397555\tlat 57.697166 lon 11.951005\n" ""
      find ${g} linnegatan --layer utca)

# Nothing found, and bad arguments.
check(nothing 1 "" "nothing named Nincsilyen" find ${h} Nincsilyen)
check(nothing_in_layer 1 "" "nothing named Győr" find ${h} Győr --layer Tanya)
check(no_name 2 "" "find needs one NAME" find ${h})
check(two_names 2 "" "find needs one NAME" find ${h} Győr Pécs)
check(unknown_option 2 "" "unknown option --scale" find ${h} Győr --scale 5)
check(no_value 2 "" "--house needs a value" find ${h} Győr --house)
check(unknown_category 2 "" "no point, line or area category Megírások" find ${h} Győr --category Megírások)
check(unknown_layer 2 "" "no category searched has a layer Falu" find ${h} Győr --layer Falu)

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "place search checked")
