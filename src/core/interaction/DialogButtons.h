// The buttons that the program's dialogs share, as their resources name them.
#pragma once

namespace kv {

inline constexpr const char* kButtonOk = "OK";
inline constexpr const char* kButtonCancel = "Cancel";

} // namespace kv
