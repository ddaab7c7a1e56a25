# Helpers shared by the subsystem folders.

set(KOLTAR_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)

# Core code keeps text in code page 1250, the encoding of the map files: its plain string
# literals are compiled to that code page ("é" is the byte 0xE9), so that messages and
# formats in the source read as they are shown. Qt code keeps UTF-8 literals. Headers
# therefore hold no non-ASCII string literals (a test guards that).
set(KOLTAR_CORE_CHARSET -fexec-charset=CP1250)

# Every core library registers itself here; the no-Qt guard tests walk this list.
set_property(GLOBAL PROPERTY KOLTAR_CORE_LIBRARIES "")

# koltar_core_library(<name> [SOURCES ...] [DEPENDS ...])
# A subsystem library without Qt. A folder that holds only headers so far becomes an
# INTERFACE library, so that the layering exists before its sources do.
function(koltar_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${KOLTAR_WARNINGS} ${KOLTAR_CORE_CHARSET})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
  endif()
  add_library(koltar::${name} ALIAS ${name})
  set_property(GLOBAL APPEND PROPERTY KOLTAR_CORE_LIBRARIES ${name})
endfunction()
