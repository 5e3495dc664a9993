# What `cmake --install` and the Debian packages (Packaging.cmake) hold, by component:
#   runtime        the shared libraries and the compiled translations
#   development    headers, link names, static libraries, CMake package, pkg-config files,
#                  the translation template and the translation function
#   tools          the programs (korvu-sim, robot-proxy-monitor)
#   python         the robot_math module (installed by python/, destination ROBOT_PROXY_PYTHON_DIR)
#   documentation  the guides and, when the docs target has run, the API reference
#   debug          the debug info split off the installed binaries (DebugInfo.cmake)
#
# Installed binaries find each other through a run path relative to their own location ($ORIGIN),
# so a prefix can be moved or unpacked anywhere (no LD_LIBRARY_PATH, no ldconfig entry needed).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
include(DebugInfo)

set(ROBOT_PROXY_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/robot_proxy)
set(ROBOT_PROXY_DATA_DIR ${CMAKE_INSTALL_DATADIR}/robot_proxy)
set(ROBOT_PROXY_TRANSLATIONS_DIR ${ROBOT_PROXY_DATA_DIR}/translations)

# Adding a library or a program to the install is one name in one of these lists; names whose
# target does not exist in this tree are left out.
set(_shared_libraries robot_proxy robot_math korvu_sdk)
set(_static_libraries korvu_sim korvu_wire)
set(_programs korvu-sim robot-proxy-monitor)
# Interface targets the exported static libraries link privately (their consumers need them).
set(_exported_interfaces asio)

foreach(_list _shared_libraries _static_libraries _programs _exported_interfaces)
  set(_present)
  foreach(_target IN LISTS ${_list})
    if(TARGET ${_target})
      list(APPEND _present ${_target})
    endif()
  endforeach()
  set(${_list} ${_present})
endforeach()

file(RELATIVE_PATH _bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(${_shared_libraries} PROPERTIES INSTALL_RPATH "$ORIGIN")
if(_programs)
  set_target_properties(${_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${_bin_to_lib}")
endif()

install(TARGETS ${_shared_libraries} ${_static_libraries} ${_exported_interfaces}
  EXPORT robot_proxyTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(_programs)
  install(TARGETS ${_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
endif()
foreach(_target IN LISTS _shared_libraries)
  robot_proxy_install_debug_info(${_target} ${CMAKE_INSTALL_LIBDIR} runtime)
endforeach()
foreach(_target IN LISTS _programs)
  robot_proxy_install_debug_info(${_target} ${CMAKE_INSTALL_BINDIR} tools)
endforeach()
foreach(_target IN LISTS _static_libraries)
  robot_proxy_install_stripped_archive(${_target} ${CMAKE_INSTALL_LIBDIR} development)
endforeach()

# The Python module: python/ installs it to ROBOT_PROXY_PYTHON_DIR in the component "python"; here
# it gets a run path to the libraries and is stripped like them.
get_property(_subdirectories DIRECTORY ${PROJECT_SOURCE_DIR} PROPERTY SUBDIRECTORIES)
if(${PROJECT_SOURCE_DIR}/python IN_LIST _subdirectories AND DEFINED ROBOT_PROXY_PYTHON_DIR)
  set(_python_dir ${ROBOT_PROXY_PYTHON_DIR})
  if(NOT IS_ABSOLUTE ${_python_dir})
    set(_python_dir ${CMAKE_INSTALL_PREFIX}/${_python_dir})
  endif()
  file(RELATIVE_PATH _python_to_lib ${_python_dir} ${CMAKE_INSTALL_FULL_LIBDIR})
  string(REGEX REPLACE "/$" "" _python_to_lib "${_python_to_lib}")
  get_property(_python_targets DIRECTORY ${PROJECT_SOURCE_DIR}/python PROPERTY BUILDSYSTEM_TARGETS)
  foreach(_target IN LISTS _python_targets)
    get_target_property(_type ${_target} TYPE)
    if(_type MATCHES "^(MODULE|SHARED)_LIBRARY$")
      set_target_properties(${_target} PROPERTIES INSTALL_RPATH "$ORIGIN/${_python_to_lib}")
      robot_proxy_install_debug_info(${_target} ${ROBOT_PROXY_PYTHON_DIR} python)
    endif()
  endforeach()
endif()

foreach(_headers ${PROJECT_SOURCE_DIR}/include/ ${PROJECT_SOURCE_DIR}/sdk/include/ ${PROJECT_SOURCE_DIR}/sim/include/)
  install(DIRECTORY ${_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/generated/robot_proxy/version.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/robot_proxy COMPONENT development)

# CMake package: find_package(robot_proxy) gives robot_proxy::<target> for every exported target
# and the function robot_proxy_add_translation.
install(EXPORT robot_proxyTargets NAMESPACE robot_proxy:: DESTINATION ${ROBOT_PROXY_CMAKE_DIR}
  COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/robot_proxyConfig.cmake.in
  ${PROJECT_BINARY_DIR}/robot_proxyConfig.cmake
  INSTALL_DESTINATION ${ROBOT_PROXY_CMAKE_DIR}
  PATH_VARS ROBOT_PROXY_TRANSLATIONS_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/robot_proxyConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
    ${PROJECT_BINARY_DIR}/robot_proxyConfig.cmake
    ${PROJECT_BINARY_DIR}/robot_proxyConfigVersion.cmake
    ${PROJECT_SOURCE_DIR}/cmake/RobotProxyTranslations.cmake
  DESTINATION ${ROBOT_PROXY_CMAKE_DIR} COMPONENT development)

include(PkgConfig)
robot_proxy_install_pkg_config(korvu_sdk
  DESCRIPTION "Client library for the Korvu robot-arm controller (RPC, realtime data, scripts)"
  LIBS_PRIVATE -pthread)
if(TARGET robot_math)
  robot_proxy_install_pkg_config(robot_math
    DESCRIPTION "Robot-arm mathematics: poses, calibration, paths, kinematics"
    REQUIRES eigen3)
  set(_math_requirement robot_math)
endif()
# -fPIC: Debian's Qt is built with reduce_relocations and refuses code compiled without it.
robot_proxy_install_pkg_config(robot_proxy
  DESCRIPTION "Qt library that connects an operator application to a Korvu robot-arm controller"
  REQUIRES Qt5Core eigen3 korvu_sdk ${_math_requirement}
  CFLAGS -fPIC)

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT documentation)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT documentation
  FILES_MATCHING PATTERN "*.md" PATTERN "*.json" PATTERN mainpage.md EXCLUDE)

include(Documentation)
include(Packaging)
