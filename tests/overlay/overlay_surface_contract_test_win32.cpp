#include <windows.h>

#include <optional>

#include "overlay/overlay_surface_contract.h"
#include "platform/overlay_surface_win32.h"

namespace lumenor::contract {
namespace {

// A hidden, owner-less tool window of its own class, as the overlay creates its window.
class RealEnv {
 public:
  RealEnv() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"LumenorLayeredContract";
    RegisterClassExW(&wc);  // fails harmlessly when an earlier test registered it
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"contract",
                            WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, instance, nullptr);
    surface_.emplace(hwnd_, RGB(192, 192, 192));
  }
  ~RealEnv() {
    surface_.reset();
    DestroyWindow(hwnd_);
  }
  RealEnv(const RealEnv&) = delete;
  RealEnv& operator=(const RealEnv&) = delete;

  platform::OverlaySurface& surface() { return *surface_; }

 private:
  HWND hwnd_ = nullptr;
  std::optional<platform::Win32OverlaySurface> surface_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, OverlaySurfaceContract, RealEnv);

// The fake records the choice; here the system says what the window got, when it answers.
TEST(Win32OverlaySurface_KeepOutOfCapture, TheSystemReadsExcludedFromCaptureOrNone) {
  RealEnv env;
  HWND window = FindWindowW(L"LumenorLayeredContract", L"contract");
  ASSERT_NE(window, nullptr);
  for (const bool out : {true, false}) {
    SCOPED_TRACE(out);
    env.surface().KeepOutOfCapture(out);
    DWORD affinity = 0xFFFF;
    if (!GetWindowDisplayAffinity(window, &affinity)) GTEST_SKIP() << "the system does not answer";
    EXPECT_EQ(affinity, out ? 0x11u : 0u);  // WDA_EXCLUDEFROMCAPTURE, WDA_NONE
  }
}

// Click-through adds the layered and transparent bits, 0x80020, to whatever extended style the
// window has, and nothing else; the opacity goes with a colour key that never takes effect.
TEST(Win32OverlaySurface, ClickThroughOrsOnlyTheLayeredAndTransparentBitsIntoTheStyle) {
  EXPECT_EQ(platform::kClickThroughExStyle, DWORD{0x80020});
  EXPECT_EQ(platform::kInertColourKey, COLORREF{0x100});
  for (DWORD before : {DWORD{0}, DWORD{WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE}, DWORD{WS_EX_LAYERED},
                       DWORD{WS_EX_TRANSPARENT}, DWORD{WS_EX_CLIENTEDGE}}) {
    RealEnv env;
    HWND window = FindWindowW(L"LumenorLayeredContract", L"contract");
    SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>(before));
    const DWORD set = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    env.surface().MakeClickThrough();
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), set | 0x80020) << before;
    env.surface().SetOpacity(126);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(window, &key, &alpha, &flags);
    EXPECT_EQ(alpha, 126);
    EXPECT_EQ(flags, DWORD{LWA_ALPHA});
  }
}

}  // namespace
}  // namespace lumenor::contract
