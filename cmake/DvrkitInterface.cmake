# The shared library's interface: every header of a library layer is installed, so everything
# the layers define with external linkage is what a host links against, and the library exports
# exactly that. The version script is written at build time from the layers' objects
# (scripts/export_map.py), so no list of names can fall behind the headers; the standard
# library's instantiations stay inside. Internals a host must not reach have internal linkage.
# The tool and the tests link the objects statically instead (dvrkit_lib).
function(dvrkit_export_interface)
  get_property(layers GLOBAL PROPERTY DVRKIT_LIBRARY_LAYERS)
  set(objects "")
  foreach(layer IN LISTS layers)
    list(APPEND objects "$<TARGET_OBJECTS:${layer}>")
  endforeach()
  set(map "${PROJECT_BINARY_DIR}/dvrkit.map")
  add_custom_command(OUTPUT "${map}"
    COMMAND /usr/bin/python3 "${PROJECT_SOURCE_DIR}/scripts/export_map.py" "${CMAKE_NM}" "${map}"
            "DVRKIT_${PROJECT_VERSION_MAJOR}" ${objects}
    DEPENDS ${layers} ${objects} "${PROJECT_SOURCE_DIR}/scripts/export_map.py"
    COMMAND_EXPAND_LISTS VERBATIM
    COMMENT "Writing the library's version script from its layers' symbols")
  target_sources(dvrkit_shared PRIVATE "${map}")
  set_target_properties(dvrkit_shared PROPERTIES LINK_DEPENDS "${map}")
  target_link_options(dvrkit_shared PRIVATE "LINKER:--version-script=${map}")
endfunction()
