# Applies ROBOT_PROXY_SANITIZE to every target of the project.
if(ROBOT_PROXY_SANITIZE)
  set(_flags -fsanitize=${ROBOT_PROXY_SANITIZE} -fno-omit-frame-pointer -g)
  if(ROBOT_PROXY_SANITIZE MATCHES "undefined")
    list(APPEND _flags -fno-sanitize-recover=undefined)
  endif()
  add_compile_options(${_flags})
  add_link_options(-fsanitize=${ROBOT_PROXY_SANITIZE})
endif()
