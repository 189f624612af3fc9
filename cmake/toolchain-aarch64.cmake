# 64-bit ARM (Debian's arm64): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-aarch64.cmake
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(DVRKIT_TRIPLET aarch64-linux-gnu)
set(DVRKIT_QEMU qemu-aarch64)
set(DVRKIT_DEBIAN_ARCH arm64)
include(${CMAKE_CURRENT_LIST_DIR}/CrossDebian.cmake)
