# Installs binaries stripped, with their debug info split off the way Debian's dh_strip does it:
# the DWARF sections go to <prefix>/lib/debug/.build-id/<xx>/<rest of the build id>.debug
# (component "debug"), where gdb and the debuginfod tools look by default when the prefix is /usr;
# the installed binary keeps its build id and gets a .gnu_debuglink to that file.
#
# Debug builds install unstripped. ROBOT_PROXY_INSTALL_STRIPPED=OFF installs every build as built.
option(ROBOT_PROXY_INSTALL_STRIPPED "Install binaries stripped, their debug info split into lib/debug" ON)
find_program(ROBOT_PROXY_OBJCOPY NAMES ${CMAKE_OBJCOPY} objcopy)
find_program(ROBOT_PROXY_READELF NAMES ${CMAKE_READELF} readelf)
mark_as_advanced(ROBOT_PROXY_OBJCOPY ROBOT_PROXY_READELF)
set(_robot_proxy_split_script ${CMAKE_CURRENT_LIST_DIR}/SplitDebugInfo.cmake)

# Emits the install-time command that runs SplitDebugInfo.cmake in `mode` on the installed copy
# of `target`.
function(_robot_proxy_install_split target destination component mode)
  if(NOT ROBOT_PROXY_INSTALL_STRIPPED OR NOT ROBOT_PROXY_OBJCOPY OR NOT ROBOT_PROXY_READELF)
    return()
  endif()
  if(IS_ABSOLUTE ${destination})
    set(_installed "\$ENV{DESTDIR}${destination}")
  else()
    set(_installed "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}")
  endif()
  install(CODE "
    execute_process(COMMAND \"${CMAKE_COMMAND}\"
      -DMODE=${mode}
      -DCONFIG=\${CMAKE_INSTALL_CONFIG_NAME}
      -DOBJCOPY=${ROBOT_PROXY_OBJCOPY}
      -DREADELF=${ROBOT_PROXY_READELF}
      -DBUILT=$<TARGET_FILE:${target}>
      -DCACHE_DIR=${PROJECT_BINARY_DIR}/debuginfo
      \"-DINSTALLED=${_installed}/$<TARGET_FILE_NAME:${target}>\"
      \"-DDEBUG_ROOT=\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/debug\"
      -P \"${_robot_proxy_split_script}\"
      COMMAND_ERROR_IS_FATAL ANY)"
    COMPONENT ${component})
endfunction()

# A shared library or program: strip the installed copy (in its own component) and install the
# debug info in the component "debug".
function(robot_proxy_install_debug_info target destination component)
  _robot_proxy_install_split(${target} ${destination} ${component} strip)
  _robot_proxy_install_split(${target} ${destination} debug keep)
endfunction()

# A static library: its debug sections are dropped (as distributions do; the code that links it
# carries its own).
function(robot_proxy_install_stripped_archive target destination component)
  _robot_proxy_install_split(${target} ${destination} ${component} archive)
endfunction()
