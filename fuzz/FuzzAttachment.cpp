// libFuzzer target: a receipt's bytes and name. Every input is taken as a
// known kind (and then starts with that kind's signature) or refused with an
// AttachmentError; the name of its extracted copy, made of the same bytes,
// never leaves its folder: no "/", no "..", no control characters.
#include "attachments/Attachments.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const kv::AttachmentKind kind = kv::checkAttachmentBytes(bytes, "fuzz");
        if (kv::attachmentKindOf(bytes) != kind || bytes.empty()) {
            std::abort();
        }
    } catch (const kv::AttachmentError&) {
        if (!bytes.empty() && kv::attachmentKindOf(bytes) && bytes.size() <= kv::kAttachmentMaxBytes) {
            std::abort(); // a known kind within the limit is never refused
        }
    }
    const std::string name =
        kv::extractedAttachmentName(static_cast<std::int32_t>(size % 10000), 1, std::string(bytes));
    if (name.find('/') != std::string::npos || name.find("..") != std::string::npos) {
        std::abort();
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            std::abort();
        }
    }
    return 0;
}
