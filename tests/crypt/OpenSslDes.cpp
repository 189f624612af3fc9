#include "tests/crypt/OpenSslDes.h"

#include <openssl/evp.h>
#include <openssl/provider.h>

#include <stdexcept>

namespace {

EVP_CIPHER* DesEcb() {
    // DES lives in the legacy provider; the default one stays loaded for everything else.
    static EVP_CIPHER* cipher = [] {
        OSSL_PROVIDER_load(nullptr, "legacy");
        OSSL_PROVIDER_load(nullptr, "default");
        return EVP_CIPHER_fetch(nullptr, "DES-ECB", nullptr);
    }();
    if (!cipher) throw std::runtime_error("OpenSSL has no DES-ECB (legacy provider missing)");
    return cipher;
}

}  // namespace

std::vector<std::uint8_t> OpenSslDesEcb(const std::uint8_t key[8], const std::vector<std::uint8_t>& in, bool encrypt) {
    std::vector<std::uint8_t> out(in.size() + 8);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    int n = 0, tail = 0;
    const bool ok = EVP_CipherInit_ex2(ctx, DesEcb(), key, nullptr, encrypt ? 1 : 0, nullptr) == 1 &&
                    EVP_CIPHER_CTX_set_padding(ctx, 0) == 1 &&
                    EVP_CipherUpdate(ctx, out.data(), &n, in.data(), static_cast<int>(in.size())) == 1 &&
                    EVP_CipherFinal_ex(ctx, out.data() + n, &tail) == 1;
    EVP_CIPHER_CTX_free(ctx);
    if (!ok) throw std::runtime_error("OpenSSL DES-ECB failed");
    out.resize(static_cast<size_t>(n + tail));
    return out;
}
