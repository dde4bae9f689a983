# Runs at install time, when the prefix is known: the desktop entry's Exec line and the manual
# page name absolute installed paths, and a prefix given to cmake --install or the package's /usr
# differs from the one the build was configured with.
#
# Set by the caller: PELMORA_SOURCE_DIR, PELMORA_STAGING_DIR, PELMORA_APP_ID, PELMORA_VERSION and
# the install directories PELMORA_LAUNCHER_DIR, PELMORA_DATA_DIR, PELMORA_APPLICATIONS_DIR and
# PELMORA_MAN6_DIR, each absolute or relative to the prefix.

foreach(name LAUNCHER_DIR DATA_DIR APPLICATIONS_DIR MAN6_DIR)
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
set(PELMORA_SAMPLE_ROSTER "${PELMORA_DATA_DIR}/キャラクター.txt")
set(PROJECT_VERSION "${PELMORA_VERSION}")

# Staged per prefix, so that installs into different prefixes never share a file.
string(SHA1 prefix_key "${CMAKE_INSTALL_PREFIX}")
set(staging "${PELMORA_STAGING_DIR}/${prefix_key}")
configure_file("${PELMORA_SOURCE_DIR}/pelmora-simulator.desktop.in" "${staging}/${PELMORA_APP_ID}.desktop" @ONLY)
configure_file("${PELMORA_SOURCE_DIR}/pelmora-simulator.6" "${staging}/pelmora-simulator.6" @ONLY)
# -n leaves the name and time out of the header, so the same page always gives the same bytes.
execute_process(COMMAND gzip -9n -c "${staging}/pelmora-simulator.6"
                OUTPUT_FILE "${staging}/pelmora-simulator.6.gz" RESULT_VARIABLE gzip_result)
if(NOT gzip_result EQUAL 0)
  message(FATAL_ERROR "gzip failed on the manual page: ${gzip_result}")
endif()

file(INSTALL DESTINATION "${PELMORA_APPLICATIONS_DIR}" TYPE FILE FILES "${staging}/${PELMORA_APP_ID}.desktop")
file(INSTALL DESTINATION "${PELMORA_MAN6_DIR}" TYPE FILE FILES "${staging}/pelmora-simulator.6.gz")
