# Builds one datafile from a list of prepared files, safely:
#   cmake -DDAT=... -DOUTPUT=... -DTYPE=BMP|FONT|SAMP -DDESCRIBE=<text every
#         line of `dat -l` must hold> -DINPUTS="a|b|c" -P make_datafile.cmake
# dat can crash half way and leave a broken file, so the file is written
# under a temporary name, checked with `dat -l` (entry order, kinds) and only
# then renamed into place. The entries keep the order of INPUTS (-n0), the
# grabber's extra info is left out (-s1) and nothing is compressed (-c0), so
# the game's loader check can walk the raw structure.

foreach(var DAT OUTPUT TYPE DESCRIBE INPUTS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make_datafile: ${var} is not set")
  endif()
endforeach()

string(REPLACE "|" ";" INPUTS "${INPUTS}")
foreach(input ${INPUTS})
  if(NOT EXISTS ${input})
    # dat segfaults on a missing input instead of saying so.
    message(FATAL_ERROR "make_datafile: ${input} does not exist")
  endif()
endforeach()

set(temporary "${OUTPUT}.building")
file(REMOVE ${temporary})
execute_process(
  COMMAND ${DAT} -n0 -s1 -c0 ${temporary} -t ${TYPE} -a ${INPUTS}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE dat_output
  ERROR_VARIABLE dat_output)
if(NOT result EQUAL 0 OR NOT EXISTS ${temporary})
  file(REMOVE ${temporary})
  message(FATAL_ERROR "make_datafile: dat failed (${result}) on ${OUTPUT}:\n${dat_output}")
endif()

execute_process(
  COMMAND ${DAT} -l ${temporary}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE listing
  ERROR_VARIABLE listing)
if(NOT result EQUAL 0)
  file(REMOVE ${temporary})
  message(FATAL_ERROR "make_datafile: dat -l failed on ${temporary}:\n${listing}")
endif()

# Expected entry names, in order: dat names an entry after its file name,
# upper case, with the dot turned into an underscore.
set(expected "")
foreach(input ${INPUTS})
  get_filename_component(name ${input} NAME)
  string(TOUPPER "${name}" name)
  string(REPLACE "." "_" name "${name}")
  list(APPEND expected ${name})
endforeach()

string(REPLACE "\n" ";" lines "${listing}")
set(found "")
foreach(line ${lines})
  if(line MATCHES "^- ([A-Z ]+) - ([^ ]+) +- (.*)$")
    set(kind "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    set(details "${CMAKE_MATCH_3}")
    string(STRIP "${kind}" kind)
    if(NOT kind STREQUAL TYPE)
      file(REMOVE ${temporary})
      message(FATAL_ERROR "make_datafile: ${name} in ${OUTPUT} is a ${kind}, not a ${TYPE}")
    endif()
    string(FIND "${details}" "${DESCRIBE}" at)
    if(at EQUAL -1)
      file(REMOVE ${temporary})
      message(FATAL_ERROR
        "make_datafile: ${name} in ${OUTPUT} is '${details}', expected '${DESCRIBE}'")
    endif()
    list(APPEND found ${name})
  endif()
endforeach()

if(NOT found STREQUAL expected)
  file(REMOVE ${temporary})
  message(FATAL_ERROR
    "make_datafile: ${OUTPUT} holds\n  ${found}\nin place of\n  ${expected}")
endif()

file(RENAME ${temporary} ${OUTPUT})
