#pragma once
// UTF-8 (the core's texts) to UTF-16 (the -W calls) and back, and the system's own texts.
#include <windows.h>

#include <string>
#include <string_view>

namespace lumenor::platform {

// Invalid bytes become U+FFFD.
std::wstring Utf16(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

// The text in the active code page (UTF-8 through the manifest), or empty when some character of
// it has no spelling there.
std::string ActiveCodePageText(std::wstring_view text);

// The system's text for an error code, in UTF-8, without its line break.
std::string SystemErrorText(DWORD error);

}  // namespace lumenor::platform
