#pragma once
// The dialog "快捷键": two standard hotkey fields, "变暗" and "变亮", showing the keys in force,
// and "确定" and "取消". A pair without Ctrl, Alt or Win, or the same key twice, is refused in the
// dialog with a message; it closes only on a pair the program can try to register.
#include <windows.h>

#include <optional>

#include "settings/settings.h"

namespace lumenor::settings {

// Modal over `owner`; the new pair on "确定", nothing on "取消" or the close box.
std::optional<KeyPair> AskForHotkeys(HINSTANCE instance, HWND owner, const KeyPair& inForce);

}  // namespace lumenor::settings
