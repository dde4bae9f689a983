# The signature check: runs RUN in an empty OUTPUT_DIR, where it writes both files of the
# hundred-character run, and checks them with sha256sum against the committed digests in DIGESTS.
# A program of another system runs through EMULATOR, a command whose words are separated by "|".
# A change to the output must be deliberate, so a mismatch fails and says how to take it over.
file(REMOVE_RECURSE ${OUTPUT_DIR})
file(MAKE_DIRECTORY ${OUTPUT_DIR})
string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} ${RUN} WORKING_DIRECTORY ${OUTPUT_DIR} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the signature run did not finish: ${status}")
endif()
execute_process(COMMAND sha256sum --check --strict ${DIGESTS} WORKING_DIRECTORY ${OUTPUT_DIR} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(STRINGS ${DIGESTS} listed REGEX "  ")
  list(TRANSFORM listed REPLACE "^[0-9a-f]+  " "")
  list(JOIN listed " " names)
  message(FATAL_ERROR "The output of the hundred-character run has changed; a change to the output must be "
                      "deliberate. If it is, check the files by eye and take their digests:\n"
                      "  cd ${OUTPUT_DIR} && sha256sum ${names} > ${DIGESTS}")
endif()
