# Targets `format`, `format-check` and `tidy` over the project's own sources.
file(GLOB_RECURSE ROBOT_PROXY_STYLE_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/include/*.h
  ${PROJECT_SOURCE_DIR}/src/*.h ${PROJECT_SOURCE_DIR}/src/*.cpp
  ${PROJECT_SOURCE_DIR}/sdk/*.h ${PROJECT_SOURCE_DIR}/sdk/*.cpp
  ${PROJECT_SOURCE_DIR}/wire/*.h ${PROJECT_SOURCE_DIR}/wire/*.cpp
  ${PROJECT_SOURCE_DIR}/sim/*.h ${PROJECT_SOURCE_DIR}/sim/*.cpp
  ${PROJECT_SOURCE_DIR}/tests/*.h ${PROJECT_SOURCE_DIR}/tests/*.cpp
  ${PROJECT_SOURCE_DIR}/bench/*.cpp ${PROJECT_SOURCE_DIR}/fuzz/*.cpp
  ${PROJECT_SOURCE_DIR}/tools/*.cpp ${PROJECT_SOURCE_DIR}/tools/*.h)
find_program(CLANG_FORMAT_EXE NAMES clang-format clang-format-14)
find_program(CLANG_TIDY_EXE NAMES clang-tidy clang-tidy-14)
if(CLANG_FORMAT_EXE)
  add_custom_target(format COMMAND ${CLANG_FORMAT_EXE} -i ${ROBOT_PROXY_STYLE_SOURCES}
    COMMENT "clang-format -i" VERBATIM)
  add_custom_target(format-check COMMAND ${CLANG_FORMAT_EXE} --dry-run --Werror ${ROBOT_PROXY_STYLE_SOURCES}
    COMMENT "clang-format --dry-run" VERBATIM)
endif()
if(CLANG_TIDY_EXE)
  set(_tidy_sources ${ROBOT_PROXY_STYLE_SOURCES})
  list(FILTER _tidy_sources INCLUDE REGEX "\\.cpp$")
  add_custom_target(tidy COMMAND ${CLANG_TIDY_EXE} -p ${PROJECT_BINARY_DIR} --quiet ${_tidy_sources}
    COMMENT "clang-tidy naming check" VERBATIM)
endif()
