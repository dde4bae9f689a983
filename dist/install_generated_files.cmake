# Runs at install time, when the prefix is known: the desktop entry's Exec line and the manual
# page name absolute installed paths, and a prefix given to cmake --install or the package's /usr
# differs from the one the build was configured with. The compressed changelog is made here too,
# so that installing or packaging needs nothing built but the program.
#
# Set by the caller: PELMORA_SOURCE_DIR, PELMORA_APP_ID, PELMORA_VERSION, PELMORA_ROSTER_NAME and
# the install directories PELMORA_LAUNCHER_DIR, PELMORA_DATA_DIR, PELMORA_APPLICATIONS_DIR,
# PELMORA_MAN6_DIR and PELMORA_DOC_DIR, each absolute or relative to the prefix.

foreach(name LAUNCHER_DIR DATA_DIR APPLICATIONS_DIR MAN6_DIR DOC_DIR)
  if(NOT IS_ABSOLUTE "${PELMORA_${name}}")
    set(PELMORA_${name} "${CMAKE_INSTALL_PREFIX}/${PELMORA_${name}}")
  endif()
endforeach()

# A desktop entry's Exec line quotes a path with reserved characters, escaping ", `, $ and \ inside
# the quotes; a literal % is written %%, and the entry's own string escaping then doubles every
# backslash.
set(launcher "${PELMORA_LAUNCHER_DIR}/pelmora-simulator-launcher")
string(REPLACE "%" "%%" launcher "${launcher}")
if(launcher MATCHES "[] \t\n\"'\\\\><~|&;$*?#()`[]")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" launcher "${launcher}")
  set(launcher "\"${launcher}\"")
endif()
string(REPLACE "\\" "\\\\" PELMORA_LAUNCHER "${launcher}")
set(PELMORA_SAMPLE_ROSTER "${PELMORA_DATA_DIR}/${PELMORA_ROSTER_NAME}")
set(PROJECT_VERSION "${PELMORA_VERSION}")

# Staged in a folder of this install's own, outside the build folder, which an install as another
# user must not fill with files that its owner cannot remove.
execute_process(COMMAND mktemp -d OUTPUT_VARIABLE staging OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE mktemp_result)
if(NOT mktemp_result EQUAL 0)
  message(FATAL_ERROR "mktemp -d failed: ${mktemp_result}")
endif()
configure_file("${PELMORA_SOURCE_DIR}/pelmora-simulator.desktop.in" "${staging}/${PELMORA_APP_ID}.desktop" @ONLY)
configure_file("${PELMORA_SOURCE_DIR}/pelmora-simulator.6" "${staging}/pelmora-simulator.6" @ONLY)
# -n leaves the name and time out of the header, so the same text always gives the same bytes.
foreach(input "${staging}/pelmora-simulator.6" "${PELMORA_SOURCE_DIR}/changelog")
  get_filename_component(name "${input}" NAME)
  execute_process(COMMAND gzip -9n -c "${input}" OUTPUT_FILE "${staging}/${name}.gz" RESULT_VARIABLE gzip_result)
  if(NOT gzip_result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${input}: ${gzip_result}")
  endif()
endforeach()

set(permissions PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(INSTALL DESTINATION "${PELMORA_APPLICATIONS_DIR}" TYPE FILE ${permissions}
     FILES "${staging}/${PELMORA_APP_ID}.desktop")
file(INSTALL DESTINATION "${PELMORA_MAN6_DIR}" TYPE FILE ${permissions} FILES "${staging}/pelmora-simulator.6.gz")
file(INSTALL DESTINATION "${PELMORA_DOC_DIR}" TYPE FILE ${permissions} FILES "${staging}/changelog.gz")
file(REMOVE_RECURSE "${staging}")
