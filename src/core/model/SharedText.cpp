#include "model/SharedText.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <ostream>
#include <stdexcept>
#include <utility>

namespace kv {

namespace {

using detail::TextBlock;

constexpr std::uint32_t kHead = sizeof(TextBlock);
// What the store adds to the count of a block while it still fills it: far
// more than it can ever hand out, so that texts dropped meanwhile never
// bring the count to zero.
constexpr std::uint64_t kStoreHold = std::uint64_t{1} << 62;
// What a TextCopies adds for the copies it will hand out: less than the
// store's, so that a thousand of them and the store fit in the count.
constexpr std::uint64_t kCopiesHold = std::uint64_t{1} << 40;
// A text longer than this gets a block of its own from the store.
constexpr std::size_t kOwnBlockText = TextStore::kMaxBlock / 4;

std::atomic<std::size_t> g_liveBlocks{0};

TextBlock* newBlock(std::size_t bytes, std::uint64_t users) {
    void* memory = ::operator new(kHead + bytes);
    g_liveBlocks.fetch_add(1, std::memory_order_relaxed);
    return new (memory) TextBlock{users};
}

char* bytesOf(TextBlock* block) {
    return reinterpret_cast<char*>(block) + kHead;
}

void dropUsers(TextBlock* block, std::uint64_t count) noexcept {
    if (block->users.fetch_sub(count, std::memory_order_acq_rel) == count) {
        block->~TextBlock();
        ::operator delete(block);
        g_liveBlocks.fetch_sub(1, std::memory_order_relaxed);
    }
}

void requireStorable(std::size_t size) {
    if (size > TextStore::kMaxText) {
        throw std::length_error("text too long");
    }
}

} // namespace

std::size_t detail::liveTextBlocks() noexcept {
    return g_liveBlocks.load(std::memory_order_relaxed);
}

SharedText::SharedText(std::string_view text) {
    if (text.empty()) {
        return;
    }
    requireStorable(text.size());
    TextBlock* block = newBlock(text.size(), 1);
    std::memcpy(bytesOf(block), text.data(), text.size());
    m_data = bytesOf(block);
    m_size = static_cast<std::uint32_t>(text.size());
    m_offset = kHead;
}

SharedText::SharedText(const SharedText& other) noexcept
    : m_data(other.m_data), m_size(other.m_size), m_offset(other.m_offset) {
    if (m_offset != 0) {
        block()->users.fetch_add(1, std::memory_order_relaxed);
    }
}

SharedText& SharedText::operator=(const SharedText& other) noexcept {
    if (other.m_offset != 0) {
        other.block()->users.fetch_add(1, std::memory_order_relaxed);
    }
    release();
    m_data = other.m_data;
    m_size = other.m_size;
    m_offset = other.m_offset;
    return *this;
}

void SharedText::releaseBlock() noexcept {
    dropUsers(block(), 1);
}

void SharedText::clear() noexcept {
    release();
    m_data = nullptr;
    m_size = 0;
    m_offset = 0;
}

std::ostream& operator<<(std::ostream& out, const SharedText& text) {
    return out << text.view();
}

char* TextStore::reserveSlowly(std::size_t size) {
    requireStorable(size);
    if (m_own != nullptr) {
        dropUsers(std::exchange(m_own, nullptr), 1); // room reserved and never committed
    }
    if (static_cast<std::size_t>(m_end - m_next) >= size) {
        return m_next;
    }
    if (size > kOwnBlockText) {
        m_own = newBlock(size, 1);
        return bytesOf(m_own);
    }
    closeBlock();
    const std::size_t bytes = std::max(m_nextSize, size);
    m_block = newBlock(bytes, kStoreHold);
    m_next = bytesOf(m_block);
    m_end = m_next + bytes;
    m_nextSize = std::min(m_nextSize * 2, kMaxBlock);
    return m_next;
}

SharedText TextStore::commitSlowly(std::size_t used) noexcept {
    if (m_own != nullptr) {
        TextBlock* own = std::exchange(m_own, nullptr);
        if (used == 0) {
            dropUsers(own, 1);
            return {};
        }
        return {bytesOf(own), static_cast<std::uint32_t>(used), kHead};
    }
    if (used == 0) {
        return {};
    }
    SharedText text(m_next, static_cast<std::uint32_t>(used),
                    static_cast<std::uint32_t>(m_next - reinterpret_cast<char*>(m_block)));
    m_next += used;
    ++m_handedOut;
    return text;
}

SharedText TextStore::add(std::string_view bytes) {
    char* room = reserve(bytes.size());
    if (!bytes.empty()) {
        std::memcpy(room, bytes.data(), bytes.size());
    }
    return commit(bytes.size());
}

void TextStore::closeBlock() noexcept {
    if (m_own != nullptr) {
        dropUsers(std::exchange(m_own, nullptr), 1);
    }
    if (m_block != nullptr) {
        dropUsers(m_block, kStoreHold - m_handedOut);
        m_block = nullptr;
        m_next = nullptr;
        m_end = nullptr;
        m_handedOut = 0;
    }
}

TextCopies::TextCopies(const SharedText& text) noexcept : m_text(text) {
    if (m_text.m_offset != 0) {
        m_text.block()->users.fetch_add(kCopiesHold, std::memory_order_relaxed);
    }
}

TextCopies::~TextCopies() {
    if (m_text.m_offset != 0) {
        dropUsers(m_text.block(), kCopiesHold - m_copies);
    }
}

} // namespace kv
