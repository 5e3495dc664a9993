# Installs the libraries, the public headers and a CMake package robot_proxyConfig.cmake.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
install(TARGETS robot_proxy korvu_sdk EXPORT robot_proxyTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/sdk/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${CMAKE_BINARY_DIR}/generated/robot_proxy/version.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/robot_proxy)
install(EXPORT robot_proxyTargets NAMESPACE robot_proxy:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/robot_proxy)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/robot_proxyConfig.cmake.in
  ${CMAKE_BINARY_DIR}/robot_proxyConfig.cmake INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/robot_proxy)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/robot_proxyConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/robot_proxyConfig.cmake ${CMAKE_BINARY_DIR}/robot_proxyConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/robot_proxy)
