# koltar-cli on a server: without a display, a run-time folder or a chosen Qt platform,
# every command leaves standard error empty on the sample maps (copies of them, since
# closing a map writes its settings back). `info`, `route` and `batch` start no toolkit:
# with a Qt platform that does not exist they still work. Called with -DCLI=...
# -DSAMPLES=... -DGOLDEN=... -DWORK=...
file(REMOVE_RECURSE ${WORK})
file(COPY ${SAMPLES}/hungary ${SAMPLES}/gothenburg DESTINATION ${WORK})
set(h ${WORK}/hungary/hungary.map)
set(g ${WORK}/gothenburg/gothenburg.map)
set(quiet ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=XDG_RUNTIME_DIR)

function(quiet name platform)
  execute_process(COMMAND ${quiet} QT_QPA_PLATFORM=${platform} ${CLI} ${ARGN}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  # route --png tells on standard error where it drew (standard output has the route).
  string(REGEX REPLACE "koltar-cli: [^\n]*\\.png: [^\n]*\n" "" errors "${errors}")
  if(NOT result EQUAL 0 OR NOT errors STREQUAL "")
    message(SEND_ERROR "koltar-cli ${ARGN} (${name}): exit ${result}, standard error:\n${errors}")
  endif()
endfunction()

quiet(info-hungary no-such-platform info ${h})
quiet(info-gothenburg no-such-platform info ${g})
quiet(route no-such-platform route ${h} Budapest Szeged)
quiet(batch no-such-platform batch ${h} ${GOLDEN}/hungary-routes.txt --out ${WORK}/plan.txt)
quiet(render xcb render ${h} --out ${WORK}/h.png --size 320x240)
quiet(route-png xcb route ${g} --png ${WORK}/g.png --size 320x240 Slättadammsgatan Kläppegatan)

# The commands that draw nothing need no toolkit at all: koltar-cli is not even linked
# with Qt (koltar-cli-draw is, and does the drawing).
execute_process(COMMAND readelf -d ${CLI} OUTPUT_VARIABLE dynamic RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(SEND_ERROR "readelf -d ${CLI} failed")
elseif(dynamic MATCHES "libQt")
  message(SEND_ERROR "koltar-cli is linked with Qt:\n${dynamic}")
endif()
