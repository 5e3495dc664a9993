# Target `docs`: the API reference (HTML) of the public headers with Doxygen, main page
# docs/mainpage.md. Undocumented public members are warnings; they are collected in
# <build>/docs/doxygen-warnings.txt and counted at the end of the run.
#   ROBOT_PROXY_BUILD_DOCS=ON   builds the reference with the default target
#   ROBOT_PROXY_DOCS_WERROR=ON  fails the docs target when Doxygen warns
find_package(Doxygen QUIET)
option(ROBOT_PROXY_BUILD_DOCS "Build the API reference with the default target" OFF)
option(ROBOT_PROXY_DOCS_WERROR "Fail the docs target on Doxygen warnings" OFF)
if(NOT DOXYGEN_FOUND)
  return()
endif()

set(ROBOT_PROXY_DOCS_DIR ${PROJECT_BINARY_DIR}/docs)
# Public headers of every library we install; a folder that does not exist (yet) is skipped.
set(_public_header_dirs
  ${PROJECT_SOURCE_DIR}/include/robot_proxy
  ${PROJECT_SOURCE_DIR}/sdk/include/korvu_sdk
  ${PROJECT_SOURCE_DIR}/wire/include/korvu_wire)
set(_guides mainpage integration connection reliability translations packaging simulator wire-protocol)
set(_inputs)
foreach(_dir IN LISTS _public_header_dirs)
  if(IS_DIRECTORY ${_dir})
    list(APPEND _inputs ${_dir})
  endif()
endforeach()
foreach(_guide IN LISTS _guides)
  if(EXISTS ${PROJECT_SOURCE_DIR}/docs/${_guide}.md)
    list(APPEND _inputs ${PROJECT_SOURCE_DIR}/docs/${_guide}.md)
  endif()
endforeach()
list(JOIN _inputs " \\\n    " ROBOT_PROXY_DOXYGEN_INPUT)
set(ROBOT_PROXY_DOXYGEN_STRIP ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/sdk/include ${PROJECT_SOURCE_DIR}/wire/include)
list(JOIN ROBOT_PROXY_DOXYGEN_STRIP " " ROBOT_PROXY_DOXYGEN_STRIP)
configure_file(${PROJECT_SOURCE_DIR}/Doxyfile.in ${ROBOT_PROXY_DOCS_DIR}/Doxyfile @ONLY)

if(ROBOT_PROXY_BUILD_DOCS)
  set(_all ALL)
endif()
add_custom_target(docs ${_all}
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${ROBOT_PROXY_DOCS_DIR}/html
  COMMAND Doxygen::doxygen ${ROBOT_PROXY_DOCS_DIR}/Doxyfile
  COMMAND ${CMAKE_COMMAND} -DWARNINGS=${ROBOT_PROXY_DOCS_DIR}/doxygen-warnings.txt
          -DWERROR=${ROBOT_PROXY_DOCS_WERROR} -P ${CMAKE_CURRENT_LIST_DIR}/DoxygenWarnings.cmake
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "API reference: ${ROBOT_PROXY_DOCS_DIR}/html/index.html"
  VERBATIM)

install(DIRECTORY ${ROBOT_PROXY_DOCS_DIR}/html DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT documentation
  OPTIONAL)
