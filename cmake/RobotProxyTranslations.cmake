# robot_proxy_add_translation(<target> <ts file> [QM_FILE <variable>] [OUTPUT_DIRECTORY <dir>])
#
# Compiles a Qt translation source (.ts) into a .qm file with lrelease whenever <target> is built
# and the .ts has changed. The .qm goes to OUTPUT_DIRECTORY (default: the current binary
# directory) under the name of the .ts; QM_FILE receives its path, e.g. for an install() rule.
# Call it in the directory that defines <target>.
#
# The application loads the .qm into a QTranslator and installs it before it constructs the first
# RobotProxy: the catalogue texts are translated when a proxy is constructed.
function(robot_proxy_add_translation target ts_file)
  cmake_parse_arguments(ARG "" "QM_FILE;OUTPUT_DIRECTORY" "" ${ARGN})
  if(NOT TARGET Qt5::lrelease)
    find_package(Qt5 COMPONENTS LinguistTools REQUIRED)
  endif()
  if(NOT ARG_OUTPUT_DIRECTORY)
    set(ARG_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  get_filename_component(ts ${ts_file} ABSOLUTE)
  get_filename_component(name ${ts_file} NAME_WE)
  set(qm ${ARG_OUTPUT_DIRECTORY}/${name}.qm)
  add_custom_command(
    OUTPUT ${qm}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ARG_OUTPUT_DIRECTORY}
    COMMAND Qt5::lrelease -silent ${ts} -qm ${qm}
    DEPENDS ${ts}
    COMMENT "Compiling the translation ${name}.qm"
    VERBATIM)
  target_sources(${target} PRIVATE ${qm})
  if(ARG_QM_FILE)
    set(${ARG_QM_FILE} ${qm} PARENT_SCOPE)
  endif()
endfunction()
