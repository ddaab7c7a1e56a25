# Renders the map with koltar-cli at 640x480 and checks that the result is a PNG of
# that size. Called with -DCLI=... -DMAP=... -DOUT=...
file(REMOVE ${OUT})
execute_process(COMMAND ${CLI} render ${MAP} --out ${OUT} --size 640x480
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR errors MATCHES "KOLTAR32")
  message(FATAL_ERROR "koltar-cli render failed (${result}):\n${output}${errors}")
endif()
file(READ ${OUT} header LIMIT 24 HEX)
# The PNG signature, the IHDR chunk, then width 640 (0x280) and height 480 (0x1e0).
if(NOT header STREQUAL "89504e470d0a1a0a0000000d4948445200000280000001e0")
  message(FATAL_ERROR "not a 640x480 PNG: ${header}")
endif()
message(STATUS "${output}")
