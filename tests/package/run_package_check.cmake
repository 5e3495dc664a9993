# Script of the package_debian test (see CMakeLists.txt).
file(REMOVE_RECURSE ${WORK_DIR})
set(packages ${WORK_DIR}/packages)
set(root ${WORK_DIR}/root)
file(MAKE_DIRECTORY ${root})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}")
  endif()
endfunction()

function(deb_field deb field out)
  execute_process(COMMAND dpkg-deb --field ${deb} ${field} OUTPUT_VARIABLE value
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

set(config_args)
if(CONFIG)
  set(config_args -C ${CONFIG})
endif()
if(BUILD_DOCS)
  run(${CMAKE_COMMAND} --build ${BUILD_DIR} --target docs)
endif()
run(cpack --config ${BUILD_DIR}/CPackConfig.cmake -G DEB -B ${packages} ${config_args})

# Every component became a package; the ones with binaries depend on Debian's libraries
# as dpkg-shlibdeps computed them.
set(expected_packages librobot-proxy0 librobot-proxy-dev robot-proxy-tools robot-proxy-doc robot-proxy-dbgsym)
if(PYTHON_DIR AND PYTHON)
  list(APPEND expected_packages python3-robot-math)
endif()
foreach(name IN LISTS expected_packages)
  file(GLOB deb ${packages}/${name}_*.deb)
  if(NOT deb)
    message(FATAL_ERROR "no package ${name} in ${packages}")
  endif()
  set(deb_${name} ${deb})
endforeach()
deb_field(${deb_librobot-proxy0} Depends runtime_depends)
deb_field(${deb_robot-proxy-tools} Depends tools_depends)
foreach(expected "libqt5core5a" "libceres3")
  if(NOT runtime_depends MATCHES "${expected} \\(>=")
    message(FATAL_ERROR "librobot-proxy0 lacks the computed dependency ${expected}: ${runtime_depends}")
  endif()
endforeach()
if(NOT tools_depends MATCHES "librobot-proxy0 \\(= " OR NOT tools_depends MATCHES "libqt5core5a \\(>=")
  message(FATAL_ERROR "robot-proxy-tools has unexpected dependencies: ${tools_depends}")
endif()

file(GLOB debs ${packages}/*.deb)
foreach(deb IN LISTS debs)
  if(NOT deb MATCHES "dbgsym")
    run(dpkg -x ${deb} ${root})
  endif()
endforeach()
set(usr ${root}/usr)
set(expected_files bin/korvu-sim ${LIBDIR}/librobot_proxy.so ${LIBDIR}/pkgconfig/robot_proxy.pc
                   share/robot_proxy/translations/robot_proxy_catalogue.ts share/doc/robot_proxy/simulator.md)
if(BUILD_DOCS)
  list(APPEND expected_files share/doc/robot_proxy/html/index.html)
endif()
foreach(file IN LISTS expected_files)
  if(NOT EXISTS ${usr}/${file})
    message(FATAL_ERROR "the unpacked packages lack ${file}")
  endif()
endforeach()
# The translation template holds every distinct catalogue text.
file(READ ${usr}/share/robot_proxy/translations/robot_proxy_catalogue.ts template)
string(REGEX MATCHALL "<message>" messages "${template}")
list(LENGTH messages message_count)
if(NOT message_count EQUAL 515)
  message(FATAL_ERROR "the installed translation template holds ${message_count} texts, not 515")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ${usr}/bin/korvu-sim --help
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

set(sanitize_flags)
if(SANITIZE)
  set(sanitize_flags -fsanitize=${SANITIZE} -fno-omit-frame-pointer)
endif()
set(qm ${usr}/share/robot_proxy/translations/robot_proxy_de.qm)

# pkg-config: the .pc files are relocatable, so PKG_CONFIG_PATH alone points at the unpacked root.
# The program's own run path stands for where an application finds the library; the library
# finds its sibling korvu_sdk itself.
function(pkg_config out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${usr}/${LIBDIR}/pkgconfig pkg-config ${ARGN}
    OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(${out} "${value}" PARENT_SCOPE)
endfunction()
pkg_config(includedir --variable=includedir robot_proxy)
file(REAL_PATH ${includedir} includedir)
if(NOT includedir STREQUAL "${usr}/include")
  message(FATAL_ERROR "pkg-config does not point into the unpacked root: ${includedir}")
endif()
pkg_config(pc_flags --cflags --libs robot_proxy)
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
run(${CXX} -std=c++17 ${sanitize_flags} ${PKG_CONFIG_EXAMPLE} ${pc_flags} -Wl,-rpath,${usr}/${LIBDIR}
    -o ${WORK_DIR}/pkg_config_example)
run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ${WORK_DIR}/pkg_config_example ${qm})

# find_package: the install test's example, against the unpacked root.
set(cmake_flags)
if(SANITIZE)
  list(JOIN sanitize_flags " " joined)
  set(cmake_flags "-DCMAKE_CXX_FLAGS=${joined}" "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=${SANITIZE}")
endif()
run(${CMAKE_COMMAND} -S ${CMAKE_EXAMPLE_DIR} -B ${WORK_DIR}/cmake_example -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${usr} -DCMAKE_BUILD_TYPE=Release ${cmake_flags})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake_example)
run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ${WORK_DIR}/cmake_example/proxy_example)

# The Python module, from the unpacked package, finds librobot_math through its run path.
if(PYTHON_DIR AND PYTHON)
  run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH PYTHONPATH=${usr}/${PYTHON_DIR}
      ${PYTHON} -c "import robot_math, sys; sys.exit(0 if robot_math.__file__.startswith('${usr}/') else 1)")
endif()
