# One INTERFACE target that carries the warning flags for our own code.
add_library(tallimar_warnings INTERFACE)
target_compile_options(tallimar_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion
  # GCC 12 reports false -Wrestrict overlaps inside std::string at -O3 (GCC bug 105651).
  $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>
  $<$<BOOL:${TALLIMAR_WERROR}>:-Werror>)

# Adds the CMakeLists.txt of each listed sub-folder that exists, so that a folder
# takes part in the build as soon as it holds code.
function(tallimar_add_existing_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
