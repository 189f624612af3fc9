# What `cmake --install` puts under the prefix, and the Debian package `cpack -G DEB` makes of
# it: the shared library (versioned, exporting only its public interface), its headers under
# include/dvrkit/, the CMake package (find_package(dvrkit) gives dvrkit::dvrkit), the
# pkg-config file, the tool and its manual page.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(DVRKIT_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/dvrkit")

# --- headers: every library layer's headers under include/dvrkit/<folder>/, with their includes
# of one another written "dvrkit/<folder>/..." (scripts/prefix_includes.py), so that one include
# directory serves a host and no folder of ours stands at the top of include/.
get_property(header_folders GLOBAL PROPERTY DVRKIT_LIBRARY_FOLDERS)
set(staged_root "${PROJECT_BINARY_DIR}/installed-headers")
set(staged_headers "")
foreach(folder IN LISTS header_folders)
  file(GLOB headers CONFIGURE_DEPENDS RELATIVE "${PROJECT_SOURCE_DIR}" "${PROJECT_SOURCE_DIR}/${folder}/*.h")
  list(APPEND staged_headers ${headers})
endforeach()
# The SDL2 backend is a library of the tool's, not of the package.
list(REMOVE_ITEM staged_headers platform/backends/Sdl2Backend.h)
list(TRANSFORM staged_headers PREPEND "${PROJECT_SOURCE_DIR}/" OUTPUT_VARIABLE header_sources)
add_custom_command(OUTPUT "${staged_root}/stamp"
  COMMAND ${CMAKE_COMMAND} -E rm -rf "${staged_root}/dvrkit"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${staged_root}/dvrkit"
  COMMAND cp --parents ${staged_headers} "${staged_root}/dvrkit"
  COMMAND /usr/bin/python3 "${PROJECT_SOURCE_DIR}/scripts/prefix_includes.py" --quiet "${staged_root}/dvrkit"
  COMMAND ${CMAKE_COMMAND} -E touch "${staged_root}/stamp"
  DEPENDS ${header_sources} "${PROJECT_SOURCE_DIR}/scripts/prefix_includes.py"
  WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
  COMMENT "Writing the installed headers")
add_custom_target(dvrkit_installed_headers ALL DEPENDS "${staged_root}/stamp")

target_include_directories(dvrkit_shared INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
# What the headers need of their users' build: threads, and the font headers the drawing
# headers reach.
target_link_libraries(dvrkit_shared INTERFACE $<INSTALL_INTERFACE:Threads::Threads>
                                              $<INSTALL_INTERFACE:PkgConfig::DVRKIT_FREETYPE>)

install(TARGETS dvrkit_shared EXPORT dvrkitTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY "${staged_root}/dvrkit" DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT dvrkitTargets NAMESPACE dvrkit:: DESTINATION ${DVRKIT_CMAKE_DIR})
configure_package_config_file(cmake/dvrkitConfig.cmake.in "${PROJECT_BINARY_DIR}/dvrkitConfig.cmake"
  INSTALL_DESTINATION ${DVRKIT_CMAKE_DIR})
# Before 1.0 a minor version may change the interface.
write_basic_package_version_file("${PROJECT_BINARY_DIR}/dvrkitConfigVersion.cmake"
  COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/dvrkitConfig.cmake" "${PROJECT_BINARY_DIR}/dvrkitConfigVersion.cmake"
  DESTINATION ${DVRKIT_CMAKE_DIR})

# pkg-config: the prefix is found from the file's own place, so the file holds wherever the
# tree is installed or unpacked.
file(RELATIVE_PATH DVRKIT_PC_PREFIX "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
configure_file(cmake/dvrkit.pc.in "${PROJECT_BINARY_DIR}/dvrkit.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/dvrkit.pc" DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# --- the tool and its manual page, written from its own --help at build time.
install(TARGETS dvrkit_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
add_custom_command(OUTPUT "${PROJECT_BINARY_DIR}/dvrkit.1"
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          /usr/bin/python3 "${PROJECT_SOURCE_DIR}/scripts/help_to_man.py" "${PROJECT_BINARY_DIR}/dvrkit.1"
          ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:dvrkit_cli>
  DEPENDS dvrkit_cli "${PROJECT_SOURCE_DIR}/scripts/help_to_man.py"
  COMMENT "Writing the manual page from dvrkit --help")
add_custom_target(dvrkit_man ALL DEPENDS "${PROJECT_BINARY_DIR}/dvrkit.1")
install(FILES "${PROJECT_BINARY_DIR}/dvrkit.1" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# --- the Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dvrkit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Logs, events, encryption, mail and windows for a DVR host application")
set(CPACK_PACKAGE_CONTACT "dvrkit developers <dvrkit@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
# The libraries the tool and the library load, found by dpkg-shlibdeps; the headers' own needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libfreetype-dev, pkgconf | pkg-config")
if(DVRKIT_DEBIAN_ARCH)
  # A cross build's package is of its target, and dpkg-shlibdeps must read the target's binaries
  # and libraries: it takes the architecture from DEB_HOST_ARCH, set in cpack's own environment.
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${DVRKIT_DEBIAN_ARCH})
  set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/CPackTarget.cmake")
  file(WRITE "${CPACK_PROJECT_CONFIG_FILE}" "set(ENV{DEB_HOST_ARCH} ${DVRKIT_DEBIAN_ARCH})\n")
endif()
if(TARGET dvrkit_sdl2)
  # The tool loads SDL2 only when it opens a real window, so dpkg-shlibdeps does not see it.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libsdl2-2.0-0")
endif()
include(CPack)
