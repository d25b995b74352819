#include <windows.h>

#include <optional>

#include "overlay/layered_window_contract.h"
#include "platform/layered_window_win32.h"

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
    layered_.emplace(hwnd_, RGB(192, 192, 192));
  }
  ~RealEnv() {
    layered_.reset();
    DestroyWindow(hwnd_);
  }
  RealEnv(const RealEnv&) = delete;
  RealEnv& operator=(const RealEnv&) = delete;

  platform::LayeredWindow& window() { return *layered_; }

 private:
  HWND hwnd_ = nullptr;
  std::optional<platform::Win32LayeredWindow> layered_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, LayeredWindowContract, RealEnv);

}  // namespace
}  // namespace lumenor::contract
