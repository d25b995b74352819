// The real overlays under Wine, as the program assembles them: the displays Windows lists, one
// overlay window each, and the listening window with its 5 s tick. Style, layered attributes,
// z-order, geometry, painting, activation and mouse transparency.
#include "overlay/overlay_window_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "display/display_set.h"
#include "overlay/overlay_set.h"
#include "platform/displays_win32.h"
#include "platform/program_window_win32.h"
#include "support/fake_notices.h"

namespace lumenor::overlay {
namespace {

void PumpMessagesFor(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  } while (GetTickCount64() < end);
}

// True when upper comes before lower in the z-order of top-level windows.
bool IsAbove(HWND upper, HWND lower) {
  for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == upper) return true;
    if (w == lower) return false;
  }
  return false;
}

RECT ScreenRect() {
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

::testing::AssertionResult Covers(HWND window, const RECT& expected) {
  RECT r;
  GetWindowRect(window, &r);
  if (EqualRect(&r, &expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "window at " << r.left << "," << r.top << " to " << r.right << "," << r.bottom
         << ", expected " << expected.left << "," << expected.top << " to " << expected.right << ","
         << expected.bottom;
}

struct Layered {
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
};
Layered LayeredOf(HWND window) {
  Layered l;
  GetLayeredWindowAttributes(window, &l.key, &l.alpha, &l.flags);
  return l;
}

// The colour WM_PAINT fills the client area with, read through WM_PRINTCLIENT.
COLORREF PaintedColour(HWND window) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  const COLORREF colour = GetPixel(dc, 4, 4);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return colour;
}

// An ordinary application window that has the focus, as the user's window would.
class FocusedWindow {
 public:
  explicit FocusedWindow(DWORD exStyle = 0) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"LumenorOverlayNeighbour";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(exStyle, wc.lpszClassName, L"neighbour", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                            300, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
    PumpMessagesFor(200);
  }
  ~FocusedWindow() { DestroyWindow(hwnd_); }
  FocusedWindow(const FocusedWindow&) = delete;
  FocusedWindow& operator=(const FocusedWindow&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// The overlay of the test desktop's one display, behind the program's display side.
class Overlay {
 public:
  Overlay() {
    signals_.emplace(GetModuleHandleW(nullptr),
                     [this](platform::DisplaySignal s) { displays_->OnSignal(s); });
    keepOnTop_ = signals_->MakeTimer([this] { displays_->OnKeepOnTopTick(); });
    rewrite_ = signals_->MakeTimer([this] { displays_->OnRewriteTimer(); });
    displays_.emplace(system_, *rewrite_, notices_, set_);
    keepOnTop_->Start(kKeepOnTopIntervalMs);
  }
  ~Overlay() {
    displays_.reset();
    rewrite_.reset();
    keepOnTop_.reset();
    signals_.reset();
  }
  Overlay(const Overlay&) = delete;
  Overlay& operator=(const Overlay&) = delete;

  // The road's plan kept along the calls, as the road keeps it.
  // Whether the primary display's overlay window is visible.
  bool IsShowing() { return IsWindowVisible(Window()) != FALSE; }
  void Show() {
    planned_.showing = true;
    set_.Show();
  }
  void Hide() {
    planned_.showing = false;
    set_.Hide();
  }
  void ApplyDarkness(std::int16_t value) {
    const DarknessLook look = LookForDarkness(value);
    if (look.background) planned_.look.background = look.background;
    planned_.look.alpha = look.alpha;
    set_.ApplyDarkness(value);
  }
  // The primary display's overlay window, made on this first use.
  HWND Window() {
    set_.IsShowing();
    return FindWindowW(L"mask_form_black", L"balck");
  }
  HWND Listener() const { return signals_->Window(); }

 private:
  OverlayWindows windows_{GetModuleHandleW(nullptr)};
  OverlayLook planned_;
  OverlaySet set_{windows_, [this] { return planned_; }};
  platform::Win32Displays system_;
  testing::FakeNotices notices_;
  std::optional<platform::ProgramWindow> signals_;
  std::unique_ptr<platform::Timer> keepOnTop_;
  std::unique_ptr<platform::Timer> rewrite_;
  std::optional<display::DisplaySet> displays_;
};

class OverlayWindowTest : public ::testing::Test {
 protected:
  Overlay overlay;
};

TEST_F(OverlayWindowTest, TheFirstQueryCreatesTheWindowHiddenAndLayeredOverTheWholeScreen) {
  EXPECT_FALSE(overlay.IsShowing());
  HWND w = overlay.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(IsWindowVisible(w));

  const DWORD ex = static_cast<DWORD>(GetWindowLongW(w, GWL_EXSTYLE));
  EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TRANSPARENT), DWORD{WS_EX_LAYERED | WS_EX_TRANSPARENT});
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  EXPECT_FALSE(ex & WS_EX_APPWINDOW);

  const Layered l = LayeredOf(w);
  EXPECT_EQ(l.alpha, 200);
  EXPECT_EQ(l.flags, DWORD{LWA_ALPHA});
  EXPECT_TRUE(Covers(w, ScreenRect()));
}

TEST_F(OverlayWindowTest, IsABorderlessOwnerlessPopupCaptionedBalck) {
  HWND w = overlay.Window();
  const DWORD style = static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE));
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU));
  EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
  wchar_t caption[16] = {};
  GetWindowTextW(w, caption, 16);
  EXPECT_EQ(std::wstring(caption), L"balck");
  EXPECT_EQ(FindWindowW(L"mask_form_black", L"balck"), w);
}

TEST_F(OverlayWindowTest, DarknessSetsTheAlphaWithTheInertKeyAndPaintsBlackOrWhite) {
  HWND w = overlay.Window();
  EXPECT_EQ(PaintedColour(w), RGB(192, 192, 192));

  overlay.ApplyDarkness(-126);
  Layered l = LayeredOf(w);
  EXPECT_EQ(l.alpha, 126);
  EXPECT_EQ(l.key, COLORREF{0x100});
  EXPECT_EQ(l.flags, DWORD{LWA_ALPHA});
  EXPECT_EQ(PaintedColour(w), RGB(0, 0, 0));

  overlay.ApplyDarkness(0);
  EXPECT_EQ(LayeredOf(w).alpha, 0);
  EXPECT_EQ(PaintedColour(w), RGB(0, 0, 0));

  overlay.ApplyDarkness(5);
  EXPECT_EQ(LayeredOf(w).alpha, 5);
  EXPECT_EQ(PaintedColour(w), RGB(255, 255, 255));
  EXPECT_FALSE(IsWindowVisible(w));
}

TEST_F(OverlayWindowTest, ShowingNeverActivatesItOrTakesTheFocus) {
  FocusedWindow user;
  ASSERT_EQ(GetForegroundWindow(), user.get());
  overlay.ApplyDarkness(-126);
  overlay.Show();
  PumpMessagesFor(200);
  EXPECT_TRUE(overlay.IsShowing());
  EXPECT_EQ(GetForegroundWindow(), user.get());
  EXPECT_EQ(GetActiveWindow(), user.get());
  EXPECT_NE(GetFocus(), overlay.Window());
  EXPECT_TRUE(IsAbove(overlay.Window(), user.get()));
  EXPECT_EQ(LayeredOf(overlay.Window()).alpha, 126);

  overlay.Hide();
  EXPECT_FALSE(overlay.IsShowing());
  EXPECT_EQ(GetForegroundWindow(), user.get());
  EXPECT_EQ(LayeredOf(overlay.Window()).alpha, 126);
}

TEST_F(OverlayWindowTest, TheMouseGoesThroughToTheWindowBeneath) {
  FocusedWindow user;
  overlay.ApplyDarkness(-255);
  overlay.Show();
  PumpMessagesFor(100);
  EXPECT_EQ(SendMessageW(overlay.Window(), WM_NCHITTEST, 0, MAKELPARAM(50, 50)), HTTRANSPARENT);
  const HWND hit = WindowFromPoint(POINT{200, 150});
  EXPECT_EQ(GetAncestor(hit, GA_ROOT), user.get());
}

TEST_F(OverlayWindowTest, ADisplayChangeCoversThePrimaryScreenAgain) {
  HWND w = overlay.Window();
  SetWindowPos(w, nullptr, 100, 100, 200, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(overlay.Listener(), WM_DISPLAYCHANGE, 32,
               MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_TRUE(Covers(w, ScreenRect()));
  EXPECT_FALSE(IsWindowVisible(w));
}

// Another window made topmost after the overlay covers it until the next keep-on-top tick, at
// most 5 s later; the tick takes neither the focus nor the foreground.
TEST_F(OverlayWindowTest, TheKeepOnTopTickCoversALaterTopmostWindowWithoutActivating) {
  FocusedWindow user;
  overlay.ApplyDarkness(-60);
  overlay.Show();
  PumpMessagesFor(100);
  FocusedWindow rival(WS_EX_TOPMOST);
  SetWindowPos(rival.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  PumpMessagesFor(100);
  ASSERT_TRUE(IsAbove(rival.get(), overlay.Window()));
  const HWND foreground = GetForegroundWindow();
  ASSERT_NE(foreground, overlay.Window());

  PumpMessagesFor(5600);
  EXPECT_TRUE(IsAbove(overlay.Window(), rival.get()));
  EXPECT_EQ(GetForegroundWindow(), foreground);
  EXPECT_NE(GetActiveWindow(), overlay.Window());
  EXPECT_TRUE(overlay.IsShowing());
}

TEST_F(OverlayWindowTest, TheKeepOnTopTickNeverShowsAHiddenOverlay) {
  EXPECT_FALSE(overlay.IsShowing());
  PumpMessagesFor(5600);
  EXPECT_FALSE(overlay.IsShowing());
  EXPECT_TRUE(GetWindowLongW(overlay.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// A real change of the desktop's resolution: the overlay follows the primary screen.
TEST_F(OverlayWindowTest, ARealResolutionChangeResizesItToTheNewScreen) {
  HWND w = overlay.Window();
  const RECT before = ScreenRect();
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = before.right == 1024 ? 1280 : 1024;
  mode.dmPelsHeight = before.right == 1024 ? 800 : 768;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  const LONG changed = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr);
  if (changed != DISP_CHANGE_SUCCESSFUL) {
    GTEST_SKIP() << "this display cannot change its resolution (" << changed << ")";
  }
  PumpMessagesFor(1500);
  const RECT after = ScreenRect();
  EXPECT_EQ(after.right, static_cast<LONG>(mode.dmPelsWidth));
  EXPECT_TRUE(Covers(w, after));
  ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
  PumpMessagesFor(1500);
  EXPECT_TRUE(Covers(w, ScreenRect()));
}

}  // namespace
}  // namespace lumenor::overlay
