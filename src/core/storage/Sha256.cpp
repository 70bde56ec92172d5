#include "storage/Sha256.h"

#include <openssl/evp.h>

#include <array>
#include <new>
#include <stdexcept>

namespace kv {

namespace {

[[noreturn]] void failed() {
    // Only an allocation can fail here: SHA-256 itself is always there.
    throw std::bad_alloc();
}

std::string hexOf(const unsigned char* digest, unsigned int size) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * size);
    for (unsigned int i = 0; i < size; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0x0F];
    }
    return hex;
}

} // namespace

void Sha256::Free::operator()(evp_md_ctx_st* context) const {
    EVP_MD_CTX_free(context);
}

Sha256::Sha256() : m_context(EVP_MD_CTX_new()) {
    if (!m_context || EVP_DigestInit_ex(m_context.get(), EVP_sha256(), nullptr) != 1) {
        failed();
    }
}

Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;
Sha256::~Sha256() = default;

void Sha256::update(std::string_view bytes) {
    if (!bytes.empty() && EVP_DigestUpdate(m_context.get(), bytes.data(), bytes.size()) != 1) {
        failed();
    }
}

std::string Sha256::hexDigest() const {
    // The digest is taken from a copy, so that more bytes may follow.
    const std::unique_ptr<evp_md_ctx_st, Free> copy(EVP_MD_CTX_new());
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int size = 0;
    if (!copy || EVP_MD_CTX_copy_ex(copy.get(), m_context.get()) != 1 ||
        EVP_DigestFinal_ex(copy.get(), digest.data(), &size) != 1) {
        failed();
    }
    return hexOf(digest.data(), size);
}

std::string sha256Hex(std::string_view bytes) {
    Sha256 hash;
    hash.update(bytes);
    return hash.hexDigest();
}

} // namespace kv
