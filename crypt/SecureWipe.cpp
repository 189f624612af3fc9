#include "crypt/SecureWipe.h"

#include <string.h>

// explicit_bzero is the C library's store that is defined to survive dead-store elimination;
// a plain memset before a buffer goes out of scope would be removed by the compiler.
void SecureWipe(void* data, std::size_t size) {
    if (data && size) explicit_bzero(data, size);
}
