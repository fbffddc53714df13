# Installs the build into a fresh prefix and checks the tree: exactly the three programs,
# English.Lang, the desktop entry, the icon and the guide, and the installed programs' --version.
# Run as: cmake -DBUILD_DIR=... -DPREFIX=... -DVERSION=... -P install_tree_test.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()

set(expected
    bin/tallimar
    bin/tallimar-batch
    bin/tallimar-ecu-sim
    share/applications/tallimar.desktop
    share/doc/tallimar/guide.html
    share/icons/hicolor/scalable/apps/tallimar.svg
    share/tallimar/English.Lang)
file(GLOB_RECURSE found RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "installed files:\n  ${found}\nexpected:\n  ${expected}")
endif()
file(SIZE "${PREFIX}/share/tallimar/English.Lang" langSize)
if(langSize LESS 1000)
  message(FATAL_ERROR "English.Lang holds only ${langSize} bytes")
endif()

foreach(program tallimar tallimar-batch)
  execute_process(COMMAND "${PREFIX}/bin/${program}" --version OUTPUT_VARIABLE said
                  RESULT_VARIABLE ran)
  if(NOT ran EQUAL 0 OR NOT said STREQUAL "${program} ${VERSION}\n")
    message(FATAL_ERROR "${program} --version: exit ${ran}, said '${said}'")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
