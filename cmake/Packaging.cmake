# Debian packages, one per install component (cpack -G DEB in the build directory; the package
# test tests/package runs it):
#   librobot-proxy0        runtime       shared libraries, compiled translations
#   librobot-proxy-dev     development   headers, link names, static libraries, CMake package,
#                                        pkg-config files, translation template
#   robot-proxy-tools      tools         korvu-sim and the other programs
#   python3-robot-math     python        the robot_math module
#   robot-proxy-doc        documentation guides and API reference
#   robot-proxy-dbgsym     debug         split debug info (lib/debug/.build-id)
# dpkg-shlibdeps computes each package's dependencies on Debian's shared libraries; the
# dependencies between our own packages are declared here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME robot-proxy)
set(CPACK_PACKAGE_VENDOR "robot_proxy developers")
set(CPACK_PACKAGE_CONTACT "robot_proxy developers <robot-proxy@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Qt library connecting an operator application to a Korvu robot-arm controller")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES OFF) # DebugInfo.cmake strips at install time and keeps the debug info
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our own libraries are in no dpkg database when the packages are built. Within a package
# dpkg-shlibdeps finds them through their $ORIGIN run path; for a program in another package than
# the libraries (robot-proxy-tools) it looks in the build tree. The dependencies between our
# packages are declared below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS)
foreach(_target IN LISTS _shared_libraries)
  get_target_property(_dir ${_target} BINARY_DIR)
  list(APPEND CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${_dir})
endforeach()

set(_soversion ${PROJECT_VERSION_MAJOR})
set(_exact "(= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME librobot-proxy${_soversion})
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "robot_proxy shared libraries\n Qt library for an operator application, the controller SDK and the robot mathematics.")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_GENERATE_SHLIBS ON)

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME librobot-proxy-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
  "librobot-proxy${_soversion} ${_exact}, qtbase5-dev, libeigen3-dev, nlohmann-json3-dev, liblua5.4-dev, pkg-config")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME robot-proxy-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "librobot-proxy${_soversion} ${_exact}")

set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-robot-math)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "librobot-proxy${_soversion} ${_exact}, python3, python3-numpy")

set(CPACK_DEBIAN_DOCUMENTATION_PACKAGE_NAME robot-proxy-doc)
set(CPACK_DEBIAN_DOCUMENTATION_PACKAGE_SECTION doc)
set(CPACK_DEBIAN_DOCUMENTATION_PACKAGE_ARCHITECTURE all)

set(CPACK_DEBIAN_DEBUG_PACKAGE_NAME robot-proxy-dbgsym)
set(CPACK_DEBIAN_DEBUG_PACKAGE_SECTION debug)
set(CPACK_DEBIAN_DEBUG_PACKAGE_DEPENDS "librobot-proxy${_soversion} ${_exact}")
set(CPACK_DEBIAN_DEBUG_PACKAGE_SHLIBDEPS OFF) # debug info only: nothing to load

foreach(_component runtime development tools python documentation debug)
  string(TOUPPER ${_component} _upper)
  set(CPACK_COMPONENT_${_upper}_DISPLAY_NAME ${_component})
  if(NOT DEFINED CPACK_DEBIAN_${_upper}_DESCRIPTION)
    set(CPACK_COMPONENT_${_upper}_DESCRIPTION "robot_proxy: ${_component} files")
  endif()
endforeach()
include(CPack)
