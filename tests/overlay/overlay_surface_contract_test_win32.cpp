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

// The fake records the choice; here the system says what the window got. Only Windows 10 2004
// (build 19041) and later can leave a window out of capture; an older system (the Wine prefix
// here reports 6.1.7601, and its SetWindowDisplayAffinity answers FALSE) is not asked.
TEST(Win32OverlaySurface_KeepOutOfCapture, TheSystemReadsExcludedFromCaptureOrNone) {
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto get = reinterpret_cast<GetVersion>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(get != nullptr && get(&version) == 0);
  if (version.dwMajorVersion < 10 || (version.dwMajorVersion == 10 && version.dwBuildNumber < 19041)) {
    GTEST_SKIP() << "Windows " << version.dwMajorVersion << "." << version.dwMinorVersion << "."
                 << version.dwBuildNumber << " cannot leave a window out of capture";
  }
  RealEnv env;
  HWND window = FindWindowW(L"LumenorLayeredContract", L"contract");
  ASSERT_NE(window, nullptr);
  for (const bool out : {true, false}) {
    SCOPED_TRACE(out);
    env.surface().KeepOutOfCapture(out);
    DWORD affinity = 0xFFFF;
    ASSERT_TRUE(GetWindowDisplayAffinity(window, &affinity));
    EXPECT_EQ(affinity, out ? 0x11u : 0u);  // WDA_EXCLUDEFROMCAPTURE, WDA_NONE
  }
}

}  // namespace
}  // namespace lumenor::contract
