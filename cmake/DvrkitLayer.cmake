# The library's layers. Each folder of the library is one layer: an object library named
# dvrkit_<name>, linked only to the layers it may use, and part of both the installed shared
# library dvrkit_shared and the static dvrkit_static that the tree's programs link. The same declarations feed the include check in the test suite
# (tests/layers/layer_includes.py), so the rule that a folder may include only the folders of
# the layers it uses lives here alone.
#
#   dvrkit_layer(<name> <folder> [STATIC] [USES <layer>...])
#
# The folder's own CMakeLists.txt adds its sources with target_sources(dvrkit_<name> ...).
# A STATIC layer is a library of its own beside the shared one (the default host's resources):
# it links the whole library, as its users do, so only the include check holds it to the
# layers it names.

set(DVRKIT_LAYER_RULES "${PROJECT_BINARY_DIR}/layers.txt")
file(WRITE "${DVRKIT_LAYER_RULES}" "# <layer> <folder> <layers it may use...>, written by cmake/DvrkitLayer.cmake\n")

function(dvrkit_layer name folder)
  cmake_parse_arguments(PARSE_ARGV 2 layer "STATIC" "" "USES")
  set(target dvrkit_${name})
  if(layer_STATIC)
    add_library(${target} STATIC)
    target_link_libraries(${target} PUBLIC dvrkit_lib)
  else()
    add_library(${target} OBJECT)
    list(TRANSFORM layer_USES PREPEND dvrkit_ OUTPUT_VARIABLE used_targets)
    target_link_libraries(${target} PUBLIC ${used_targets})
    # Object files go only into targets that link their object library directly.
    target_link_libraries(dvrkit_static PUBLIC ${target})
    target_link_libraries(dvrkit_shared PRIVATE ${target})
    # What the installed library holds: these layers' symbols and headers (DvrkitInterface.cmake,
    # DvrkitInstall.cmake).
    set_property(GLOBAL APPEND PROPERTY DVRKIT_LIBRARY_LAYERS ${target})
    set_property(GLOBAL APPEND PROPERTY DVRKIT_LIBRARY_FOLDERS ${folder})
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  list(JOIN layer_USES " " uses)
  file(APPEND "${DVRKIT_LAYER_RULES}" "${name} ${folder} ${uses}\n")
  add_subdirectory(${folder})
endfunction()
