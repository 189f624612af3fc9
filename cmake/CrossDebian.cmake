# What every cross build from a Debian machine shares, included by the toolchain files beside
# it after they set CMAKE_SYSTEM_PROCESSOR, DVRKIT_TRIPLET (the GNU triplet of Debian's cross
# compiler), DVRKIT_QEMU (the qemu-user program of the target) and DVRKIT_DEBIAN_ARCH (Debian's
# name of the target, the architecture of the package that cpack makes).
#
# The target's libraries are Debian's own packages for that architecture: installed beside this
# machine's by multiarch (/usr/lib/<triplet>), or, where the DVRKIT_TARGET_ROOT environment
# variable names a folder, unpacked there. Programs built for the target run under qemu-user; the
# tests find it through CMAKE_CROSSCOMPILING_EMULATOR.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${DVRKIT_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${DVRKIT_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${DVRKIT_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# The dynamic loader and the C library a program runs with must come from one package: they share
# private structures (the list of thread stacks that fork and thread creation walk), and a loader of
# one build with a C library of another hangs in those. Under multiarch both are libc6:<arch>, at
# the paths the programs name, so qemu runs them without a prefix; with a target root both are the
# cross C library's (libc6-<arch>-cross, under /usr/<triplet>), which -L puts in front.
set(dvrkit_qemu_arguments "")
# Kept in the cache, so that a later run of cmake without the variable keeps the same libraries.
if(DEFINED ENV{DVRKIT_TARGET_ROOT})
  set(DVRKIT_TARGET_ROOT "$ENV{DVRKIT_TARGET_ROOT}" CACHE PATH "the target's unpacked packages" FORCE)
endif()
if(DVRKIT_TARGET_ROOT)
  set(root "${DVRKIT_TARGET_ROOT}")
  list(APPEND CMAKE_FIND_ROOT_PATH "${root}")
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
  # The target's headers that its -dev packages put under /usr/include, and the linker's way
  # to the libraries those link in turn.
  foreach(language C CXX)
    string(APPEND CMAKE_${language}_FLAGS_INIT " -isystem ${root}/usr/include/${DVRKIT_TRIPLET} -isystem ${root}/usr/include")
  endforeach()
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,-rpath-link,${root}/usr/lib/${DVRKIT_TRIPLET}")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS_INIT " -Wl,-rpath-link,${root}/usr/lib/${DVRKIT_TRIPLET}")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "${root}")
  set(ENV{PKG_CONFIG_LIBDIR} "${root}/usr/lib/${DVRKIT_TRIPLET}/pkgconfig:${root}/usr/share/pkgconfig")
  set(dvrkit_qemu_arguments -L /usr/${DVRKIT_TRIPLET} -E LD_LIBRARY_PATH=${root}/usr/lib/${DVRKIT_TRIPLET})
else()
  set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/${DVRKIT_TRIPLET}/pkgconfig:/usr/share/pkgconfig")
endif()

set(CMAKE_CROSSCOMPILING_EMULATOR ${DVRKIT_QEMU} ${dvrkit_qemu_arguments})
