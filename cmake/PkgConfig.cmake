# pkg-config files for the installed libraries (component "development"). They are relocatable:
# the prefix is derived from the file's own place (${pcfiledir}), so a prefix unpacked anywhere
# (dpkg -x, a copied SDK folder) works with PKG_CONFIG_PATH alone.
set(_robot_proxy_pc_template ${CMAKE_CURRENT_LIST_DIR}/pkgconfig.pc.in)

# robot_proxy_install_pkg_config(<library target> DESCRIPTION <text> [REQUIRES <module>...]
#                                [LIBS_PRIVATE <flag>...] [CFLAGS <flag>...])
function(robot_proxy_install_pkg_config target)
  cmake_parse_arguments(PC "" "DESCRIPTION" "REQUIRES;LIBS_PRIVATE;CFLAGS" ${ARGN})
  set(PC_DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
  file(RELATIVE_PATH PC_PREFIX_FROM_PCFILEDIR ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
  string(REGEX REPLACE "/$" "" PC_PREFIX_FROM_PCFILEDIR "${PC_PREFIX_FROM_PCFILEDIR}")
  set(PC_NAME ${target})
  get_target_property(PC_LIBRARY ${target} OUTPUT_NAME)
  if(NOT PC_LIBRARY)
    set(PC_LIBRARY ${target})
  endif()
  list(JOIN PC_REQUIRES " " PC_REQUIRES)
  list(JOIN PC_LIBS_PRIVATE " " PC_LIBS_PRIVATE)
  list(JOIN PC_CFLAGS " " PC_CFLAGS)
  configure_file(${_robot_proxy_pc_template} ${PROJECT_BINARY_DIR}/pkgconfig/${target}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${target}.pc DESTINATION ${PC_DESTINATION}
    COMPONENT development)
endfunction()
