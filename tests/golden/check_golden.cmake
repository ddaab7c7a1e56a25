# The outputs of koltar-cli on both sample maps, compared with the ones recorded in
# golden.txt: the rendered pictures (whole map, close up, with a route) and the
# route-plan texts of a batch run per criterion. A change of any byte fails, so that a
# rework of the code cannot change what users see without being noticed. Where such a
# change is intended, scripts/update-golden.sh records the new outputs.
#
# Called with -DCLI=<koltar-cli> -DSAMPLES=<data/samples> -DGOLDEN=<this folder>
# -DWORK=<a scratch folder> [-DUPDATE=ON to write golden.txt anew].

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
# The tool writes settings back into the map it closes: it works on copies.
foreach(sample hungary gothenburg)
  file(COPY ${SAMPLES}/${sample} DESTINATION ${WORK})
endforeach()

set(failures "")
set(recorded "")

# run(<output file> <args...>): runs koltar-cli in the scratch folder, its standard
# output going to <output file> unless the command writes the file itself.
function(run output)
  execute_process(COMMAND ${CLI} ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR err MATCHES "KOLTAR32")
    set(failures "${failures}\n--- ${output}: status ${rc}\n${err}")
  endif()
  if(NOT EXISTS ${WORK}/${output})
    file(WRITE ${WORK}/${output} "${out}")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# record(<file>): the file's hash joins the recorded outputs.
function(record output)
  file(SHA256 ${WORK}/${output} hash)
  set(recorded "${recorded}${output} ${hash}\n" PARENT_SCOPE)
endfunction()

set(h hungary/hungary.map)
set(g gothenburg/gothenburg.map)
run(hungary.png render ${h} --out hungary.png --size 800x600)
record(hungary.png)
run(hungary-budapest.png render ${h} --out hungary-budapest.png --size 800x600 --scale 400000 --center 150000,40000)
record(hungary-budapest.png)
run(gothenburg.png render ${g} --out gothenburg.png --size 800x600)
record(gothenburg.png)
run(gothenburg-city.png render ${g} --out gothenburg-city.png --size 800x600 --scale 12000 --center -209,-1045)
record(gothenburg-city.png)
run(hungary-route.txt route ${h} --png hungary-route.png --size 800x600 Sopron Debrecen Szeged)
record(hungary-route.txt)
record(hungary-route.png)
foreach(criterion distance time cost)
  run(hungary-plan-${criterion}.txt batch ${h} ${GOLDEN}/hungary-routes.txt --criterion ${criterion})
  record(hungary-plan-${criterion}.txt)
  run(gothenburg-plan-${criterion}.txt batch ${g} ${GOLDEN}/gothenburg-routes.txt --criterion ${criterion})
  record(gothenburg-plan-${criterion}.txt)
endforeach()

# Closing a sample writes its settings back without changing a byte.
foreach(sample hungary gothenburg)
  file(GLOB files RELATIVE ${SAMPLES}/${sample} ${SAMPLES}/${sample}/*)
  foreach(f ${files})
    file(SHA256 ${SAMPLES}/${sample}/${f} before)
    file(SHA256 ${WORK}/${sample}/${f} after)
    if(NOT before STREQUAL after)
      set(failures "${failures}\n--- ${sample}/${f} changed")
    endif()
  endforeach()
endforeach()

if(UPDATE)
  file(WRITE ${GOLDEN}/golden.txt "${recorded}")
  message(STATUS "golden.txt written")
  return()
endif()

file(READ ${GOLDEN}/golden.txt expected)
if(NOT recorded STREQUAL expected)
  set(failures "${failures}\n--- outputs differ from golden.txt (the new ones are in ${WORK}):\n${recorded}")
endif()
if(NOT failures STREQUAL "")
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "sample outputs as recorded")
