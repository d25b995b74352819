#pragma once
// The live count of the program's handles, per kind. Wine answers 0 to GetGuiResources and
// GetProcessHandleCount, so these counts are how a long run shows from outside that no window,
// icon, menu, GDI object, device context or kernel handle piles up. The holders of
// handles_win32.h keep them; the tray window answers the count query with them.
#include <windows.h>

#include <array>
#include <cstddef>

namespace lumenor::platform {

enum class HandleKind {
  Window,
  Icon,
  Menu,
  Font,
  Brush,
  Bitmap,
  OtherGdiObject,  // pens, regions, palettes
  DeviceContext,
  Kernel,
  Other,  // a holder whose release names no kind
  Count   // not a kind: how many there are
};
inline constexpr std::size_t kHandleKinds = static_cast<std::size_t>(HandleKind::Count);

namespace detail {
inline std::array<long, kHandleKinds>& LiveHandleCounts() noexcept {
  static std::array<long, kHandleKinds> counts{};
  return counts;
}
}  // namespace detail

// How many holders of that kind own a handle right now.
inline long LiveHandles(HandleKind kind) noexcept {
  return detail::LiveHandleCounts()[static_cast<std::size_t>(kind)];
}

// A holder of that kind took (+1) or let go of (-1) a handle.
inline void CountLiveHandle(HandleKind kind, long change) noexcept {
  detail::LiveHandleCounts()[static_cast<std::size_t>(kind)] += change;
}

// The registered message a window of the program answers with LiveHandles(HandleKind(wParam)),
// -1 for a kind it does not know. Only counts go out: nothing about a handle itself.
inline constexpr wchar_t kLiveHandleCountMessageName[] = L"Lumenor.LiveHandleCount";

// For a window procedure: true with the answer in `result` when `message` is the count query.
inline bool AnswerLiveHandleCount(UINT message, WPARAM wParam, LRESULT& result) noexcept {
  static const UINT query = RegisterWindowMessageW(kLiveHandleCountMessageName);
  if (query == 0 || message != query) return false;
  result = wParam < kHandleKinds ? LiveHandles(static_cast<HandleKind>(wParam)) : -1;
  return true;
}

}  // namespace lumenor::platform
