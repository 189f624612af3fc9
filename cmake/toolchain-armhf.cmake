# 32-bit ARM with hardware floating point (Debian's armhf). Its C library keeps a 32-bit time_t
# and file offsets unless asked, while the files hold seconds up to 2106 and a month file may pass
# 2 GiB: every file of the build is compiled with both 64 bits wide.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(DVRKIT_TRIPLET arm-linux-gnueabihf)
set(DVRKIT_QEMU qemu-arm)
set(DVRKIT_DEBIAN_ARCH armhf)
foreach(language C CXX)
  set(CMAKE_${language}_FLAGS_INIT "-D_FILE_OFFSET_BITS=64 -D_TIME_BITS=64")
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/CrossDebian.cmake)
