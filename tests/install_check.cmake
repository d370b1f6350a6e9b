# Installs the build into PREFIX (emptied first), checks the installed files
# and runs the installed program's --version.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(f bin/polarsketch share/man/man1/polarsketch.1 share/doc/polarsketch/README.md
          share/doc/polarsketch/examples/standard_net.txt
          share/doc/polarsketch/examples/fold_bedding.csv)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# Plot files a user's runs left beside the examples are not installed.
file(GLOB stray "${PREFIX}/share/doc/polarsketch/examples/*.ps")
if(stray)
  message(FATAL_ERROR "installed a plot file among the examples: ${stray}")
endif()
execute_process(COMMAND "${PREFIX}/bin/polarsketch" --version
                OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version STREQUAL "polarsketch 11.3\n")
  message(FATAL_ERROR "installed --version: status ${status}, '${version}'")
endif()
file(REMOVE_RECURSE "${PREFIX}")
