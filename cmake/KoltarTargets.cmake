# Helpers shared by the subsystem folders.

set(KOLTAR_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)

# Core code keeps text in code page 1250, the encoding of the map files: its plain string
# literals are compiled to that code page ("é" is the byte 0xE9), so that messages and
# formats in the source read as they are shown. Qt code keeps UTF-8 literals. Headers
# therefore hold no non-ASCII string literals (a test guards that).
set(KOLTAR_CORE_CHARSET -fexec-charset=CP1250)

# clang reads source text as UTF-8 and knows no other execution character set; it keeps
# the bytes of a literal that is not UTF-8 as they are. The fuzz build therefore compiles
# copies of the core's sources converted to code page 1250 (u8 literals stay UTF-8; characters
# of comments that the code page lacks are dropped), so that the literals hold the same bytes as under
# GCC. koltar_core_sources(<var> <source>...) gives the sources to compile.
if(KOLTAR_FUZZ)
  set(KOLTAR_CORE_CHARSET -Wno-invalid-source-encoding)
  add_executable(koltar_cp1250_source ${PROJECT_SOURCE_DIR}/tests/fuzz/cp1250_source.cpp)
endif()
function(koltar_core_sources out)
  if(NOT KOLTAR_FUZZ)
    set(${out} ${ARGN} PARENT_SCOPE)
    return()
  endif()
  set(converted "")
  foreach(source IN LISTS ARGN)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE OUTPUT_VARIABLE input)
    file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR} ${input})
    set(output ${CMAKE_BINARY_DIR}/cp1250/${name})
    cmake_path(GET output PARENT_PATH folder)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                       COMMAND koltar_cp1250_source ${input} ${output}
                       DEPENDS ${input} koltar_cp1250_source VERBATIM)
    list(APPEND converted ${output})
  endforeach()
  set(${out} ${converted} PARENT_SCOPE)
endfunction()

# Every core library registers itself here; the no-Qt guard tests walk this list.
set_property(GLOBAL PROPERTY KOLTAR_CORE_LIBRARIES "")

# koltar_core_library(<name> [SOURCES ...] [DEPENDS ...])
# A subsystem library without Qt. A folder that holds only headers so far becomes an
# INTERFACE library, so that the layering exists before its sources do.
function(koltar_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  if(ARG_SOURCES)
    koltar_core_sources(sources ${ARG_SOURCES})
    add_library(${name} STATIC ${sources})
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
  koltar_check_headers(${name})
endfunction()

# Every header compiles on its own, with its library's options and include path, as part
# of the normal build. A header whose source of the same name is in its library is
# compiled first by that source already (the test layering_includes holds every source
# to including its own header first); for each other header a generated source that
# includes only it is compiled. Headers are found by folder, not listed, so that a new
# header is checked without anyone remembering to add it. The target check-headers
# builds these alone.
option(KOLTAR_CHECK_HEADERS "Compile every header alone as part of the build" ON)
if(KOLTAR_CHECK_HEADERS)
  add_custom_target(check-headers)
endif()

# koltar_check_headers(<target> [DIRECTORY <folder>]): check the headers of <folder> (the
# calling folder unless given, relative to it) with <target>'s options, at the end of the
# configuration when the target is complete. A target that does not exist by then (the Qt
# ones without KOLTAR_BUILD_GUI) is left out.
function(koltar_check_headers target)
  cmake_parse_arguments(ARG "" "DIRECTORY" "" ${ARGN})
  if(NOT KOLTAR_CHECK_HEADERS)
    return()
  endif()
  if(NOT ARG_DIRECTORY)
    set(ARG_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  cmake_path(ABSOLUTE_PATH ARG_DIRECTORY BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  # A deferred call reads its arguments when it runs, so they are written out here.
  cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]]
    CALL _koltar_add_header_check [[${target}]] [[${ARG_DIRECTORY}]])")
endfunction()

function(_koltar_add_header_check target directory)
  if(NOT TARGET ${target})
    return()
  endif()
  get_target_property(target_dir ${target} SOURCE_DIR)
  get_target_property(sources ${target} SOURCES)
  set(compiled "")
  foreach(source IN LISTS sources)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${target_dir} NORMALIZE)
    list(APPEND compiled ${source})
  endforeach()
  file(GLOB headers CONFIGURE_DEPENDS ${directory}/*.h)
  set(units "")
  foreach(header IN LISTS headers)
    cmake_path(REPLACE_EXTENSION header LAST_ONLY .cpp OUTPUT_VARIABLE own_source)
    if(own_source IN_LIST compiled)
      continue()
    endif()
    file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR} ${header})
    set(unit ${CMAKE_BINARY_DIR}/header_check/${name}.cpp)
    file(CONFIGURE OUTPUT ${unit} CONTENT "#include \"${name}\"\n")
    list(APPEND units ${unit})
  endforeach()
  if(NOT units)
    return()
  endif()
  set(check ${target}_headers)
  add_library(${check} OBJECT ${units})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    # A core folder of headers only: the core's options.
    target_compile_options(${check} PRIVATE ${KOLTAR_WARNINGS} ${KOLTAR_CORE_CHARSET})
    target_link_libraries(${check} PRIVATE ${target})
  else()
    target_compile_options(${check} PRIVATE ${KOLTAR_WARNINGS}
                           $<TARGET_PROPERTY:${target},COMPILE_OPTIONS>)
    target_compile_definitions(${check} PRIVATE $<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>)
    if(type STREQUAL "EXECUTABLE")
      # A test folder: what its executable links.
      get_target_property(libraries ${target} LINK_LIBRARIES)
      target_link_libraries(${check} PRIVATE ${libraries})
      target_include_directories(${check} PRIVATE $<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>)
    else()
      target_link_libraries(${check} PRIVATE ${target})
    endif()
  endif()
  add_dependencies(check-headers ${check})
endfunction()

# The libraries that koltar_core_library does not make.
koltar_check_headers(koltar_platform_qt DIRECTORY platform/qt)
koltar_check_headers(koltar_platform_gio DIRECTORY platform/gio)
koltar_check_headers(koltar_resources DIRECTORY resources)
koltar_check_headers(koltar_app DIRECTORY app)
koltar_check_headers(koltar_icon_art DIRECTORY tools/icons)
koltar_check_headers(koltar_literal_route_search DIRECTORY tools/bench)
