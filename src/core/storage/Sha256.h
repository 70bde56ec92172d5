// SHA-256 of a file's bytes, to know a file read in before by its content
// whatever it is named, and to know a saved file again after a crash. The
// hashing is OpenSSL's (libcrypto), which uses the processor's SHA
// instructions where it has them.
#pragma once

#include <memory>
#include <string>
#include <string_view>

struct evp_md_ctx_st;

namespace kv {

// The hash of bytes given in pieces, for files read or written a block at a time.
class Sha256 {
public:
    Sha256();
    Sha256(Sha256&&) noexcept;
    Sha256& operator=(Sha256&&) noexcept;
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;
    ~Sha256();

    void update(std::string_view bytes);
    // The 64 lower-case hex digits of the bytes given so far.
    [[nodiscard]] std::string hexDigest() const;

private:
    struct Free {
        void operator()(evp_md_ctx_st* context) const;
    };
    std::unique_ptr<evp_md_ctx_st, Free> m_context;
};

// The 64 lower-case hex digits of the SHA-256 of bytes.
std::string sha256Hex(std::string_view bytes);

} // namespace kv
