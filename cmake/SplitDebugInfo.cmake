# Install-time helper of DebugInfo.cmake (cmake -P).
#   MODE=strip    strip INSTALLED and link it to the debug file of BUILT
#   MODE=keep     install the debug file of BUILT under DEBUG_ROOT/.build-id
#   MODE=archive  drop the debug sections of the static library INSTALLED
# The debug file is extracted once per build of BUILT into CACHE_DIR/.build-id.
if(CONFIG STREQUAL "Debug")
  return()
endif()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}")
  endif()
endfunction()

if(MODE STREQUAL "archive")
  if(EXISTS ${INSTALLED})
    run(${OBJCOPY} --strip-debug ${INSTALLED})
  endif()
  return()
endif()

execute_process(COMMAND ${READELF} --notes --sections --wide ${BUILT} OUTPUT_VARIABLE elf RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot read ${BUILT}")
endif()
string(REGEX MATCH "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)" build_id "${elf}")
set(relative .build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug)
set(has_debug_info FALSE)
if(elf MATCHES "\\.debug_info")
  set(has_debug_info TRUE)
endif()

if(NOT build_id OR NOT has_debug_info)
  # Nothing to keep (no debug info, or no id to find it by): strip only.
  if(MODE STREQUAL "strip")
    run(${OBJCOPY} --strip-debug --strip-unneeded ${INSTALLED})
  endif()
  return()
endif()

set(debug_file ${CACHE_DIR}/${relative})
if(NOT EXISTS ${debug_file} OR ${BUILT} IS_NEWER_THAN ${debug_file})
  get_filename_component(dir ${debug_file} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  # A private temporary name: two installs of one build may run at the same time.
  string(MD5 token "${INSTALLED}")
  run(${OBJCOPY} --only-keep-debug --compress-debug-sections=zlib ${BUILT} ${debug_file}.${token})
  file(RENAME ${debug_file}.${token} ${debug_file})
endif()

if(MODE STREQUAL "strip")
  run(${OBJCOPY} --strip-debug --strip-unneeded --remove-section=.gnu_debuglink ${INSTALLED})
  run(${OBJCOPY} --add-gnu-debuglink=${debug_file} ${INSTALLED})
  message(STATUS "Stripped: ${INSTALLED}")
elseif(MODE STREQUAL "keep")
  get_filename_component(dir ${DEBUG_ROOT}/${relative} DIRECTORY)
  # file(COPY): DEBUG_ROOT already holds DESTDIR, which file(INSTALL) would prepend again.
  file(COPY ${debug_file} DESTINATION ${dir})
endif()
