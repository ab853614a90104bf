# Compiles resource files into the program, so that the charts of accounts and the
# era table are found whether the program runs from the build tree or installed.
# kivo_embed_resources(<out.cpp> <name>=<file> ...) writes one C++ source that
# registers every file under its name with Resources.
function(kivo_embed_resources out)
  set(deps)
  set(args)
  foreach(pair IN LISTS ARGN)
    string(REPLACE "=" ";" parts "${pair}")
    list(GET parts 0 name)
    list(GET parts 1 file)
    list(APPEND deps "${file}")
    list(APPEND args "${name}=${file}")
  endforeach()
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} "-DPAIRS=${args}" -P ${PROJECT_SOURCE_DIR}/cmake/WriteResources.cmake
    DEPENDS ${deps} ${PROJECT_SOURCE_DIR}/cmake/WriteResources.cmake
    VERBATIM)
endfunction()
