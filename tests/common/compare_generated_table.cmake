# Reruns the table generator and compares its output with the committed table, byte for byte.
execute_process(COMMAND ${GENERATOR} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the generator failed: ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${TABLE} RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "common/cp932_table.inc is not what the generator writes; regenerate it with\n"
                      "  ${GENERATOR} > common/cp932_table.inc")
endif()
