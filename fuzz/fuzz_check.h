#pragma once
// What the fuzz targets share: a check that stops the run on the input at hand, so libFuzzer keeps
// it as a finding, and a test of the text a person is shown.

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace lumenor::fuzz {

// Not an assert: it must hold in every build the fuzzer is made from.
inline void Check(bool holds, const char* what, std::string_view detail = {}) {
  if (holds) return;
  std::fprintf(stderr, "fuzz invariant broken: %s\n  %.*s\n", what, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

// Written apart from the reader's own escaping: the text is strict UTF-8 (no stray, overlong or
// surrogate sequences) and holds no character that moves or hides the text around it.
inline bool IsCleanText(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t length = b0 < 0x80   ? 1
                         : b0 < 0xC2 ? 0
                         : b0 < 0xE0 ? 2
                         : b0 < 0xF0 ? 3
                         : b0 < 0xF5 ? 4
                                     : 0;
    if (length == 0 || i + length > text.size()) return false;
    char32_t cp = length == 1 ? b0 : b0 & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kShortest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    const bool control = cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
    const bool bidi = cp == 0x061C || (cp >= 0x200E && cp <= 0x200F) ||
                      (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069);
    const bool invisible = (cp >= 0x200B && cp <= 0x200D) || cp == 0x2028 || cp == 0x2029 ||
                           cp == 0xFEFF || cp == 0x00AD;
    if (control || bidi || invisible) return false;
    i += length;
  }
  return true;
}

}  // namespace lumenor::fuzz
