# The signature check: runs RUN, which writes both output files of the hundred-character run into
# OUTPUT_DIR, and compares their SHA-256 digests with the committed ones in DIGESTS, a file in the
# format of `sha256sum -c`. A change to the output must be deliberate, so a mismatch fails and
# prints the new digests.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${OUTPUT_DIR})
file(MAKE_DIRECTORY ${OUTPUT_DIR})
set(ENV{PELMORA_SIGNATURE_DIR} ${OUTPUT_DIR})
execute_process(COMMAND ${RUN} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the signature run failed: ${status}")
endif()

file(STRINGS ${DIGESTS} committedLines)
set(committedNames "")
set(differs FALSE)
foreach(line IN LISTS committedLines)
  if(NOT line MATCHES "^([0-9a-f]+) [ *](.+)$")
    message(FATAL_ERROR "${DIGESTS}: not a line of sha256sum: ${line}")
  endif()
  set(name ${CMAKE_MATCH_2})
  list(APPEND committedNames ${name})
  if(NOT EXISTS ${OUTPUT_DIR}/${name})
    set(differs TRUE)
    continue()
  endif()
  file(SHA256 ${OUTPUT_DIR}/${name} digest)
  if(NOT digest STREQUAL CMAKE_MATCH_1)
    set(differs TRUE)
  endif()
endforeach()

# What the run wrote, the committed names first in their order; a file the run wrote beyond them
# is a change too.
file(GLOB writtenNames RELATIVE ${OUTPUT_DIR} ${OUTPUT_DIR}/*)
set(listedNames ${committedNames} ${writtenNames})
list(REMOVE_DUPLICATES listedNames)
set(newLines "")
set(newNames "")
foreach(name IN LISTS listedNames)
  if(NOT name IN_LIST writtenNames)
    continue()
  endif()
  if(NOT name IN_LIST committedNames)
    set(differs TRUE)
  endif()
  file(SHA256 ${OUTPUT_DIR}/${name} digest)
  string(APPEND newLines "  ${digest}  ${name}\n")
  string(APPEND newNames " ${name}")
endforeach()

# NOTICE prints the text as it stands; a FATAL_ERROR text would be reflowed.
if(differs)
  message(NOTICE
    "The output of the hundred-character run has changed: a change to the output must be deliberate.\n"
    "If it is, check the new files in ${OUTPUT_DIR} by eye,\n"
    "then replace ${DIGESTS} with their digests:\n"
    "${newLines}"
    "for example with\n"
    "  cd ${OUTPUT_DIR} && sha256sum${newNames} > ${DIGESTS}")
  message(FATAL_ERROR "the signature of the hundred-character run differs from ${DIGESTS}")
endif()
