# IBM Z (Debian's s390x), the big-endian target: it shows that every format is read and written
# byte by byte in little-endian order whatever the host's.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(DVRKIT_TRIPLET s390x-linux-gnu)
set(DVRKIT_QEMU qemu-s390x)
set(DVRKIT_DEBIAN_ARCH s390x)
include(${CMAKE_CURRENT_LIST_DIR}/CrossDebian.cmake)
