// The buttons that the program's dialogs share. Every text the user sees is
// Swedish, the cancel button's too.
#pragma once

namespace kv {

inline constexpr const char* kButtonOk = "OK";
inline constexpr const char* kButtonCancel = "Avbryt";

} // namespace kv
