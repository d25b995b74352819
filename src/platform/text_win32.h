#pragma once
// UTF-8 (the core's texts) to UTF-16 (the -W calls) and back.
#include <windows.h>

#include <string>
#include <string_view>

namespace lumenor::platform {

// Invalid bytes become U+FFFD.
std::wstring Utf16(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

}  // namespace lumenor::platform
