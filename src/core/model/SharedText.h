// The texts of the posted rows and the vouchers. A company holds millions of
// them, so they are not strings of their own: a text is a view of bytes in a
// shared, reference-counted block that is never changed, and copying one only
// counts one more user of its block. Reading a file puts all of its texts in
// a few large blocks (TextStore), one after the other; a text set by the
// program gets a block of its own. A block goes when its last text goes.
#pragma once

#include <atomic>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

namespace kv {

namespace detail {
// The head of a block of text bytes: the bytes follow it.
struct TextBlock {
    std::atomic<std::uint64_t> users;
};
// How many blocks are alive, for the tests of their lifetimes.
std::size_t liveTextBlocks() noexcept;
} // namespace detail

class SharedText {
public:
    SharedText() noexcept = default;
    SharedText(std::string_view text); // NOLINT(google-explicit-constructor): a text is a text
    SharedText(const char* text) : SharedText(std::string_view(text)) {}
    SharedText(const std::string& text) : SharedText(std::string_view(text)) {}
    SharedText(const SharedText& other) noexcept;
    SharedText(SharedText&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
          m_offset(std::exchange(other.m_offset, 0)) {}
    SharedText& operator=(const SharedText& other) noexcept;
    // Inline, as the readers fill millions of rows with it.
    SharedText& operator=(SharedText&& other) noexcept {
        if (this != &other) {
            release();
            m_data = std::exchange(other.m_data, nullptr);
            m_size = std::exchange(other.m_size, 0);
            m_offset = std::exchange(other.m_offset, 0);
        }
        return *this;
    }
    SharedText& operator=(std::string_view text) { return *this = SharedText(text); }
    SharedText& operator=(const char* text) { return *this = SharedText(text); }
    SharedText& operator=(const std::string& text) { return *this = SharedText(text); }
    ~SharedText() { release(); }

    [[nodiscard]] std::string_view view() const noexcept { return {m_data, m_size}; }
    operator std::string_view() const noexcept { return view(); } // NOLINT(google-explicit-constructor)
    operator std::string() const { return std::string(view()); }  // NOLINT(google-explicit-constructor)
    [[nodiscard]] std::string str() const { return std::string(view()); }

    [[nodiscard]] const char* data() const noexcept { return m_data; }
    [[nodiscard]] std::size_t size() const noexcept { return m_size; }
    [[nodiscard]] std::size_t length() const noexcept { return m_size; }
    [[nodiscard]] bool empty() const noexcept { return m_size == 0; }
    [[nodiscard]] bool starts_with(std::string_view prefix) const noexcept {
        return view().starts_with(prefix);
    }
    [[nodiscard]] bool ends_with(std::string_view suffix) const noexcept { return view().ends_with(suffix); }
    void clear() noexcept;

    friend bool operator==(const SharedText& a, const SharedText& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const SharedText& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const SharedText& a, const std::string& b) noexcept { return a.view() == b; }
    friend bool operator==(const SharedText& a, const char* b) noexcept { return a.view() == b; }
    friend std::strong_ordering operator<=>(const SharedText& a, const SharedText& b) noexcept {
        return a.view() <=> b.view();
    }

private:
    friend class TextStore;
    friend class TextCopies;
    // A text of size bytes at data, offset bytes after the head of its block.
    SharedText(const char* data, std::uint32_t size, std::uint32_t offset) noexcept
        : m_data(data), m_size(size), m_offset(offset) {}
    [[nodiscard]] detail::TextBlock* block() const noexcept {
        return reinterpret_cast<detail::TextBlock*>(const_cast<char*>(m_data) - m_offset);
    }
    void release() noexcept {
        if (m_offset != 0) {
            releaseBlock();
        }
    }
    void releaseBlock() noexcept;

    const char* m_data = nullptr;
    std::uint32_t m_size = 0;
    std::uint32_t m_offset = 0; // from the block's head to m_data; 0 for an empty text
};

std::ostream& operator<<(std::ostream& out, const SharedText& text);

// Where the texts of one file are put, one after another, in blocks that
// grow to kMaxBlock bytes. The texts it hands out keep their blocks; the
// store only counts them and settles the count once per block.
class TextStore {
public:
    static constexpr std::size_t kFirstBlock = std::size_t{4} << 10;
    static constexpr std::size_t kMaxBlock = std::size_t{1} << 20;
    // The longest text: its size must fit in 32 bits.
    static constexpr std::size_t kMaxText = std::size_t{0xFFFFFFFFU} - sizeof(detail::TextBlock);

    TextStore() = default;
    TextStore(const TextStore&) = delete;
    TextStore& operator=(const TextStore&) = delete;
    ~TextStore() { closeBlock(); }

    // Room for up to size bytes (at most kMaxText; else std::length_error),
    // to be filled and made a text with commit. Inline where the open block
    // has the room, as it has for all but a few texts of a file.
    char* reserve(std::size_t size) {
        if (m_own == nullptr && static_cast<std::size_t>(m_end - m_next) >= size) {
            return m_next;
        }
        return reserveSlowly(size);
    }
    // The first used bytes of the room reserve gave, as a text.
    SharedText commit(std::size_t used) noexcept {
        if (m_own != nullptr || used == 0) {
            return commitSlowly(used);
        }
        SharedText text(m_next, static_cast<std::uint32_t>(used),
                        static_cast<std::uint32_t>(m_next - reinterpret_cast<char*>(m_block)));
        m_next += used;
        ++m_handedOut;
        return text;
    }
    // A copy of bytes in the store.
    SharedText add(std::string_view bytes);

private:
    char* reserveSlowly(std::size_t size);
    SharedText commitSlowly(std::size_t used) noexcept;
    void closeBlock() noexcept;

    detail::TextBlock* m_block = nullptr;
    detail::TextBlock* m_own = nullptr; // the block of a long text reserved and not yet committed
    char* m_next = nullptr;             // the first free byte of the block
    char* m_end = nullptr;              // the end of the block
    std::size_t m_nextSize = kFirstBlock;
    std::uint64_t m_handedOut = 0; // texts of the block handed out and not yet counted in it
};

// Hands out many copies of one text and counts them in its block once, when
// it goes, instead of once per copy: for a name that a million rows repeat.
class TextCopies {
public:
    explicit TextCopies(const SharedText& text) noexcept;
    TextCopies(const TextCopies&) = delete;
    TextCopies& operator=(const TextCopies&) = delete;
    ~TextCopies();

    [[nodiscard]] const SharedText& text() const noexcept { return m_text; }
    [[nodiscard]] SharedText copy() noexcept {
        if (m_text.m_offset == 0) {
            return {};
        }
        ++m_copies;
        return {m_text.m_data, m_text.m_size, m_text.m_offset};
    }

private:
    SharedText m_text;
    std::uint64_t m_copies = 0; // handed out and not yet counted in the block
};

} // namespace kv
