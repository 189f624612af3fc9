#pragma once
// Clearing of key material and plaintext scratch in a way the optimiser may not drop, even
// when the memory is never read again.
#include <cstddef>

void SecureWipe(void* data, std::size_t size);

template <typename T>
void SecureWipeObject(T& object) {
    SecureWipe(&object, sizeof object);
}
