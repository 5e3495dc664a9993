# Targets `format`, `format-check`, `tidy` and `tidy-fix` over the project's own sources.
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
if(CLANG_FORMAT_EXE)
  add_custom_target(format COMMAND ${CLANG_FORMAT_EXE} -i ${ROBOT_PROXY_STYLE_SOURCES}
    COMMENT "clang-format -i" VERBATIM)
  add_custom_target(format-check COMMAND ${CLANG_FORMAT_EXE} --dry-run --Werror ${ROBOT_PROXY_STYLE_SOURCES}
    COMMENT "clang-format --dry-run" VERBATIM)
endif()
find_program(RUN_CLANG_TIDY_EXE NAMES run-clang-tidy-14)
if(RUN_CLANG_TIDY_EXE)
  # Both read this build's compile_commands.json; the rules live in .clang-tidy.
  add_custom_target(tidy COMMAND ${PROJECT_SOURCE_DIR}/scripts/tidy.sh ${PROJECT_BINARY_DIR}
    COMMENT "clang-tidy naming and braces check" USES_TERMINAL VERBATIM)
  add_custom_target(tidy-fix COMMAND ${PROJECT_SOURCE_DIR}/scripts/tidy.sh --fix ${PROJECT_BINARY_DIR}
    COMMENT "clang-tidy naming and braces fixes, then clang-format" USES_TERMINAL VERBATIM)
endif()
