# koltar-cli route's files on both sample maps, read back with real readers: the PDF
# with poppler (pdfinfo, pdftoppm, pdftotext), the GPX with gpsbabel, the GeoJSON with
# jq; the route list's text byte by byte; and the options' mistakes.
# Called with -DCLI=... -DSAMPLES=<data/samples> -DWORK=<a scratch folder>.

cmake_policy(VERSION 3.25)
set(failures "")
macro(fail text)
  set(failures "${failures}\n--- ${text}")
endmacro()

foreach(tool pdfinfo pdftoppm pdftotext gpsbabel jq)
  find_program(${tool}_program ${tool})
  if(NOT ${tool}_program)
    message(FATAL_ERROR "${tool} is missing (scripts/bootstrap.sh installs it)")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
# The tool writes settings back into the map it closes: it works on copies.
foreach(sample hungary gothenburg)
  file(COPY ${SAMPLES}/${sample} DESTINATION ${WORK})
endforeach()

# run(<name> <expected status> <args...>): stdout in run_out, stderr in run_err.
function(run name status)
  execute_process(COMMAND ${CLI} ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(run_out "${out}" PARENT_SCOPE)
  set(run_err "${err}" PARENT_SCOPE)
  if(NOT rc EQUAL status)
    set(failures "${failures}\n--- ${name}: status ${rc}, expected ${status}\n${err}" PARENT_SCOPE)
  endif()
endfunction()

# near(<name> <csv line> <latitude> <longitude> <metres per degree of longitude>): the
# point of a gpsbabel unicsv line "n,lat,lon" lies within 100 m of the place given.
function(micro value out)  # degrees with six decimals as millionths
  string(REGEX MATCH "^(-?)([0-9]+)\\.([0-9]*)" m "${value}")
  set(sign "${CMAKE_MATCH_1}")
  set(whole "${CMAKE_MATCH_2}")
  string(SUBSTRING "${CMAKE_MATCH_3}000000" 0 6 fraction)
  string(REGEX REPLACE "^0+([0-9])" "\\1" fraction "${fraction}")
  math(EXPR v "${whole} * 1000000 + ${fraction}")
  if(sign STREQUAL "-")
    math(EXPR v "-${v}")
  endif()
  set(${out} ${v} PARENT_SCOPE)
endfunction()
function(near name line lat lon lonMetres)
  string(REPLACE "," ";" fields "${line}")
  list(GET fields 1 gotLat)
  list(GET fields 2 gotLon)
  micro(${gotLat} a)
  micro(${lat} b)
  micro(${gotLon} c)
  micro(${lon} d)
  math(EXPR dy "(${a} - ${b}) * 111320 / 1000000")
  math(EXPR dx "(${c} - ${d}) * ${lonMetres} / 1000000")
  math(EXPR square "${dx} * ${dx} + ${dy} * ${dy}")
  if(square GREATER 10000)
    set(failures "${failures}\n--- ${name}: ${gotLat},${gotLon} is not within 100 m of ${lat},${lon}"
        PARENT_SCOPE)
  endif()
endfunction()

# check_pdf(<name> <file> <page size text> <route colour as hex> <map crop> <column crop>):
# one page of that size, the route's colour inside the map area and not in the route
# column (crops as "x y w h" in pixels at 50 dpi).
function(check_pdf name file size colour map column)
  execute_process(COMMAND ${pdfinfo_program} ${file} OUTPUT_VARIABLE info RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT info MATCHES "Pages: +1\n" OR NOT info MATCHES "Page size: +${size}")
    set(failures "${failures}\n--- ${name}: pdfinfo says\n${info}" PARENT_SCOPE)
    return()
  endif()
  foreach(part map column)
    separate_arguments(crop UNIX_COMMAND "${${part}}")
    list(GET crop 0 x)
    list(GET crop 1 y)
    list(GET crop 2 w)
    list(GET crop 3 h)
    execute_process(COMMAND ${pdftoppm_program} -r 50 -aa no -aaVector no -x ${x} -y ${y} -W ${w} -H ${h}
                            -singlefile ${file} ${WORK}/${name}-${part} RESULT_VARIABLE rc)
    file(READ ${WORK}/${name}-${part}.ppm pixels HEX)
    string(FIND "${pixels}" "${colour}" at)
    if(part STREQUAL "map" AND at EQUAL -1)
      set(failures "${failures}\n--- ${name}: no route colour ${colour} in the map area" PARENT_SCOPE)
    elseif(part STREQUAL "column" AND NOT at EQUAL -1)
      set(failures "${failures}\n--- ${name}: the route colour ${colour} in the route column" PARENT_SCOPE)
    endif()
  endforeach()
endfunction()

# Hungary: Budapest to Szeged on A4, portrait.
run(hungary 0 route hungary/hungary.map --pdf bs.pdf --gpx bs.gpx --geojson bs.geojson --text bs.txt
    Budapest Szeged)
if(NOT run_err STREQUAL "")
  fail("hungary: standard error holds\n${run_err}")
endif()
# The map area of an A4 page: left and top 73 of 2480 x 3508 at 300 dpi, right of it
# the route column 900 to 1000 wide.
check_pdf(hungary ${WORK}/bs.pdf "595 x 842 pts \\(A4\\)" "0050ff" "17 17 195 540" "290 20 100 520")
execute_process(COMMAND ${pdftotext_program} ${WORK}/bs.pdf - OUTPUT_VARIABLE text)
# (pdftotext joins the spaced-out title's letters.)
foreach(name "C *s *o *m *ó *p *o *n *t" Budapest Kecskemét Kiskunfélegyháza Szeged "KOLTAR-DEKA")
  if(NOT text MATCHES "${name}")
    fail("hungary: pdftotext finds no ${name}:\n${text}")
  endif()
endforeach()

execute_process(COMMAND ${gpsbabel_program} -t -i gpx -f ${WORK}/bs.gpx -o unicsv -F - OUTPUT_VARIABLE track
                RESULT_VARIABLE rc)
string(REPLACE "\n" ";" track "${track}")
list(FILTER track INCLUDE REGEX "^[0-9]")
list(LENGTH track points)
if(NOT rc EQUAL 0 OR points LESS 10)
  fail("hungary: gpsbabel reads ${points} track points")
else()
  list(GET track 0 first)
  list(GET track -1 last)
  # GeoNames: Budapest 47.49835 N 19.04045 E, Szeged 46.253 N 20.14824 E; a degree of
  # longitude is about 75 km there.
  near(gpx_start "${first}" 47.49835 19.04045 75500)
  near(gpx_end "${last}" 46.253 20.14824 77000)
endif()
execute_process(COMMAND ${gpsbabel_program} -r -i gpx -f ${WORK}/bs.gpx -o unicsv -F - OUTPUT_VARIABLE stops)
if(NOT stops MATCHES "\n1,47\\.49[0-9]+,19\\.04[0-9]+,\"Budapest\",\"0\\.0 km, 00:00, 0\\.0 Ft\"\n2,46\\.25[0-9]+,20\\.14[0-9]+,\"Szeged\"")
  fail("hungary: gpsbabel reads the route points as\n${stops}")
endif()

execute_process(COMMAND ${jq_program} -r
  "[.type, (.features | length), .features[0].geometry.type, .features[0].properties.name, (.features[0].properties.itinerary | length), (.features[1:] | map(.geometry.type + \" \" + .properties.name) | join(\", \"))] | join(\"|\")"
  ${WORK}/bs.geojson OUTPUT_VARIABLE json RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT json STREQUAL "FeatureCollection|3|LineString|Budapest - Szeged|8|Point Budapest, Point Szeged\n")
  fail("hungary: jq reads the GeoJSON as ${json}")
endif()
execute_process(COMMAND ${jq_program} -r ".features[0].geometry.coordinates | first, last | map(tostring) | \"0,\" + .[1] + \",\" + .[0]"
                ${WORK}/bs.geojson OUTPUT_VARIABLE ends)
string(REPLACE "\n" ";" ends "${ends}")
list(GET ends 0 first)
list(GET ends 1 last)
near(geojson_start "${first}" 47.49835 19.04045 75500)
near(geojson_end "${last}" 46.253 20.14824 77000)

# The route list's text: code page 1250, the header and a line per settlement.
file(READ ${WORK}/bs.txt bytes HEX)
if(NOT bytes MATCHES "^0954656c6570fc6ce9730954e1766f6c73e167094964f5094bf66c7473e9670a")
  fail("hungary: bs.txt does not start with the header in code page 1250: ${bytes}")
endif()
if(NOT bytes MATCHES "0abb094275646170657374092020302e300930303a303009202020302e300a")
  fail("hungary: bs.txt has no line for Budapest")
endif()

# Gothenburg: A3 landscape; Letter.
run(gothenburg 0 route gothenburg/gothenburg.map --pdf g.pdf --paper A3 --landscape --gpx g.gpx
    --geojson g.geojson Göteborg Mölndal)
check_pdf(gothenburg ${WORK}/g.pdf "1191 x 842 pts \\(A3\\)" "0050ff" "17 17 420 540" "700 20 110 520")
execute_process(COMMAND ${gpsbabel_program} -t -i gpx -f ${WORK}/g.gpx -o unicsv -F - OUTPUT_VARIABLE track)
if(NOT track MATCHES "\n1,57\\.70")
  fail("gothenburg: gpsbabel reads the track as ${track}")
endif()
execute_process(COMMAND ${jq_program} -r ".features[1:] | map(.properties.name) | join(\", \")" ${WORK}/g.geojson
                OUTPUT_VARIABLE names)
if(NOT names STREQUAL "Göteborg, Mölndal\n")
  fail("gothenburg: jq reads the stops as ${names}")
endif()
run(letter 0 route hungary/hungary.map --pdf letter.pdf --paper Letter Szeged Budapest)
check_pdf(letter ${WORK}/letter.pdf "612 x 792 pts \\(letter\\)" "0050ff" "17 17 200 500" "300 20 100 480")

# Mistakes in the options.
run(bad_paper 2 route hungary/hungary.map --pdf x.pdf --paper A5 Budapest Szeged)
run(paper_without_pdf 2 route hungary/hungary.map --landscape Budapest Szeged)
run(pdf_needs_file 2 route hungary/hungary.map Budapest Szeged --pdf)
run(unwritable 1 route hungary/hungary.map --gpx nowhere/x.gpx Budapest Szeged)
if(NOT run_err MATCHES "KOLTAR32: 'nowhere/x.gpx' file nem nyitható meg.")
  fail("unwritable: ${run_err}")
endif()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "route outputs checked")
