#include "tray/icon_wheel_win32.h"

#include <shellapi.h>

namespace lumenor::tray {

namespace {

// kIconWheelMessage's wParam: the notches (lParam) turned on the icon, or the cursor left it.
constexpr WPARAM kWheelTurned = 1;
constexpr WPARAM kCursorLeft = 2;

// A low-level hook procedure carries no context: the wheel whose hook is installed, while it is.
// There is one icon, so one hook at most.
IconWheel* watching = nullptr;

}  // namespace

void IconWheel::OnIconMouseMove(HWND window, UINT id) {
  if (hook_ && !aroundCursor_) return;  // the shell's rectangle holds while the hook runs
  if (!hook_) {
    window_ = window;
    const NOTIFYICONIDENTIFIER icon{sizeof icon, window, id, {}};
    aroundCursor_ = FAILED(Shell_NotifyIconGetRect(&icon, &icon_));
  }
  if (aroundCursor_) {
    // Where the shell cannot say where the icon is (Wine 8 answers E_NOTIMPL): a square around the
    // cursor, twice a small icon across, which holds the whole icon whichever part of it the
    // cursor is on and reaches at most an icon's width beyond it. Each move on the icon centres it
    // again, and a move out of it ends the watch. A time limit instead would end it under a user
    // who holds the cursor still on the icon and turns the wheel, and the shell says nothing then.
    POINT cursor{};
    GetCursorPos(&cursor);
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);
    icon_ = {cursor.x - width, cursor.y - height, cursor.x + width, cursor.y + height};
  }
  if (hook_) return;
  hook_.reset(SetWindowsHookExW(WH_MOUSE_LL, &IconWheel::Hook, GetModuleHandleW(nullptr), 0));
  if (hook_) watching = this;
}

LRESULT CALLBACK IconWheel::Hook(int code, WPARAM wParam, LPARAM lParam) noexcept {
  // Runs for every mouse event of the desktop while installed: it sorts and posts, and returns.
  if (code == HC_ACTION && watching != nullptr)
    watching->Heard(wParam, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void IconWheel::Heard(WPARAM message, const MSLLHOOKSTRUCT& event) noexcept {
  if (PtInRect(&icon_, event.pt) == FALSE) {
    if (!leftPosted_) leftPosted_ = PostMessageW(window_, kIconWheelMessage, kCursorLeft, 0) != 0;
    return;
  }
  if (message != WM_MOUSEWHEEL) return;
  const int notches = notches_.Add(static_cast<short>(HIWORD(event.mouseData)));
  if (notches != 0) PostMessageW(window_, kIconWheelMessage, kWheelTurned, notches);
}

bool IconWheel::CursorOnIcon() const {
  POINT cursor{};
  return GetCursorPos(&cursor) != FALSE && PtInRect(&icon_, cursor) != FALSE;
}

int IconWheel::OnPosted(WPARAM wParam, LPARAM lParam) {
  if (wParam == kWheelTurned) return static_cast<int>(lParam);
  leftPosted_ = false;
  // The icon's own move may have centred the square on the cursor again since.
  if (!CursorOnIcon()) Stop();
  return 0;
}

void IconWheel::Stop() {
  if (watching == this) watching = nullptr;
  hook_.reset();
  notches_.Forget();
  leftPosted_ = false;
}

}  // namespace lumenor::tray
