# Finds Ceres as the shared system library and defines the imported target Ceres::ceres.
#
# Debian's CeresConfig.cmake imports only the static archive libceres.a: a shared library linked
# against it embeds the whole solver (about 10 MB of code, many times that with debug info) and
# misses the distribution's security updates. This module, found first through CMAKE_MODULE_PATH,
# imports libceres.so instead; the solver's own dependencies (SuiteSparse, BLAS, gflags) come
# with it as its DT_NEEDED entries. glog stays a direct dependency: the Ceres headers use its
# CHECK macros, so code that includes them calls into libglog itself.
include(FindPackageHandleStandardArgs)
include(CMakeFindDependencyMacro)

find_path(Ceres_INCLUDE_DIR ceres/ceres.h)
find_library(Ceres_LIBRARY NAMES ${CMAKE_SHARED_LIBRARY_PREFIX}ceres${CMAKE_SHARED_LIBRARY_SUFFIX})

if(Ceres_INCLUDE_DIR AND EXISTS ${Ceres_INCLUDE_DIR}/ceres/version.h)
  file(STRINGS ${Ceres_INCLUDE_DIR}/ceres/version.h _ceres_version_lines
       REGEX "^#define CERES_VERSION_(MAJOR|MINOR|REVISION) [0-9]+")
  foreach(_part MAJOR MINOR REVISION)
    string(REGEX REPLACE ".*CERES_VERSION_${_part} ([0-9]+).*" "\\1" _ceres_${_part} "${_ceres_version_lines}")
  endforeach()
  set(Ceres_VERSION ${_ceres_MAJOR}.${_ceres_MINOR}.${_ceres_REVISION})
endif()

find_package(glog CONFIG QUIET)
find_package(Eigen3 3.3 NO_MODULE QUIET)
find_package_handle_standard_args(Ceres
  REQUIRED_VARS Ceres_LIBRARY Ceres_INCLUDE_DIR glog_FOUND Eigen3_FOUND
  VERSION_VAR Ceres_VERSION)

if(Ceres_FOUND AND NOT TARGET Ceres::ceres)
  add_library(Ceres::ceres SHARED IMPORTED)
  set_target_properties(Ceres::ceres PROPERTIES
    IMPORTED_LOCATION ${Ceres_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${Ceres_INCLUDE_DIR}
    INTERFACE_LINK_LIBRARIES "glog::glog;Eigen3::Eigen")
endif()
mark_as_advanced(Ceres_INCLUDE_DIR Ceres_LIBRARY)
