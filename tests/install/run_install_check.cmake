# Script of the install_package test (see CMakeLists.txt).
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}")
  endif()
endfunction()

function(read_elf file out)
  execute_process(COMMAND ${READELF} --dynamic --notes --sections --wide ${file}
    OUTPUT_VARIABLE elf RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot read ${file}")
  endif()
  set(${out} "${elf}" PARENT_SCOPE)
endfunction()

if(CONFIG)
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --config ${CONFIG})
else()
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
endif()

# Every installed binary finds the libraries it needs on its own: ours next to it through its
# run path, the system's (Ceres as the shared libceres.so included) where the loader looks.
file(GLOB binaries ${prefix}/${LIBDIR}/*.so.[0-9]*.[0-9]*.[0-9]* ${prefix}/bin/*)
list(LENGTH binaries binary_count)
if(binary_count LESS 3)
  message(FATAL_ERROR "expected the libraries and korvu-sim in ${prefix}, found: ${binaries}")
endif()
foreach(binary IN LISTS binaries)
  execute_process(COMMAND ldd ${binary} OUTPUT_VARIABLE deps RESULT_VARIABLE result)
  if(NOT result EQUAL 0 OR deps MATCHES "not found")
    message(FATAL_ERROR "${binary} does not find its libraries:\n${deps}")
  endif()
  string(REGEX MATCHALL "lib(korvu|robot)[a-z_]*\\.so[^ ]* => [^ ]+" ours "${deps}")
  foreach(dep IN LISTS ours)
    if(NOT dep MATCHES "=> ${prefix}/")
      message(FATAL_ERROR "${binary} takes one of our libraries from outside the prefix: ${dep}")
    endif()
  endforeach()
endforeach()

# The mathematics uses Ceres: linked as the shared system library, not embedded from libceres.a.
set(ceres_users)
foreach(binary IN LISTS binaries)
  read_elf(${binary} elf)
  if(elf MATCHES "NEEDED\\)[^\n]*libceres\\.so")
    list(APPEND ceres_users ${binary})
  endif()
endforeach()
if(NOT ceres_users)
  message(FATAL_ERROR "no installed library links the shared Ceres library")
endif()

# Optimised builds install stripped, with the debug info under lib/debug/.build-id.
if(NOT CONFIG STREQUAL "Debug")
  foreach(binary IN LISTS binaries)
    read_elf(${binary} elf)
    if(elf MATCHES "\\.debug_info")
      message(FATAL_ERROR "${binary} is installed with its debug info")
    endif()
    if(NOT elf MATCHES "\\.gnu_debuglink" OR NOT elf MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
      message(FATAL_ERROR "${binary} has no link to its debug info")
    endif()
    set(debug_file ${prefix}/lib/debug/.build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug)
    read_elf(${debug_file} debug_elf)
    if(NOT debug_elf MATCHES "\\.debug_info")
      message(FATAL_ERROR "${debug_file} holds no debug info for ${binary}")
    endif()
  endforeach()
endif()

set(flags)
if(SANITIZE)
  set(flags "-DCMAKE_CXX_FLAGS=-fsanitize=${SANITIZE} -fno-omit-frame-pointer"
            "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=${SANITIZE}")
endif()
run(${CMAKE_COMMAND} -S ${EXAMPLE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_BUILD_TYPE=Release ${flags})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ${WORK_DIR}/build/proxy_example)

# The library examples, built against the installed prefix as an application would, each run
# against its in-process simulator. The pendant (Qt Widgets) is left to the in-tree build.
run(${CMAKE_COMMAND} -S ${EXAMPLES_DIR} -B ${WORK_DIR}/examples -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_BUILD_TYPE=Release -DROBOT_PROXY_EXAMPLE_PENDANT=OFF ${flags})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/examples)
foreach(example watch/connect_and_watch script/send_script poses/compute_poses)
  run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ${WORK_DIR}/examples/${example})
endforeach()
