# Settings of the WebAssembly build (web/build.sh).

# The library reports faults and orderly stops as C++ exceptions: the
# browser's own WebAssembly exceptions carry them, smaller and faster than
# exceptions emulated in JavaScript.
add_compile_options(-fwasm-exceptions)
add_link_options(-fwasm-exceptions)

# CLI11 and Eigen for the WebAssembly build: both are headers only, taken
# from the build machine's packages (libcli11-dev, libeigen3-dev). CLI11's
# headers sit in /usr/include/CLI, so they are reached through a folder of
# their own in the build tree that holds a link to them and nothing else.
find_path(POLARSKETCH_CLI11_DIR CLI/CLI.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(POLARSKETCH_EIGEN_DIR Eigen/Core PATHS /usr/include/eigen3 NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(cli11_only ${CMAKE_BINARY_DIR}/third_party)
file(MAKE_DIRECTORY ${cli11_only})
file(CREATE_LINK ${POLARSKETCH_CLI11_DIR}/CLI ${cli11_only}/CLI SYMBOLIC)

add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${cli11_only})
add_library(Eigen3::Eigen INTERFACE IMPORTED)
target_include_directories(Eigen3::Eigen SYSTEM INTERFACE ${POLARSKETCH_EIGEN_DIR})
# zlib: the deflate calls of the PDF writer, answered by web/compat/zlib.h.
add_library(ZLIB::ZLIB INTERFACE IMPORTED)

# What the WebAssembly build's C++ library lacks that the library uses
# (web/compat): found before the system's headers.
include_directories(BEFORE SYSTEM ${CMAKE_SOURCE_DIR}/web/compat)
