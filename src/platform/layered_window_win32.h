#pragma once
// platform::LayeredWindow over a real window. It does not own the window; it owns the window's
// timer, which it kills when it goes, and keeps the background colour the window paints with.
#include <windows.h>

#include "platform/layered_window.h"

namespace lumenor::platform {

class Win32LayeredWindow final : public LayeredWindow {
 public:
  // window must outlive this object; timerId names the timer StartTimer starts on it.
  Win32LayeredWindow(HWND window, COLORREF background, UINT_PTR timerId);
  ~Win32LayeredWindow() override;
  Win32LayeredWindow(const Win32LayeredWindow&) = delete;
  Win32LayeredWindow& operator=(const Win32LayeredWindow&) = delete;

  std::uint32_t ExtendedStyle() override;
  void SetExtendedStyle(std::uint32_t style) override;
  void SetLayeredAttributes(ColorRef colorKey, std::uint8_t alpha, std::uint32_t flags) override;
  void BringToTopmost() override;
  void MoveAndSize(int left, int top, int width, int height) override;
  ScreenSize WindowSize() override;
  void SetBackground(ColorRef colour) override;
  bool IsVisible() override;
  void Show() override;
  void Hide() override;
  ScreenSize PrimaryScreenSize() override;
  void StartTimer(unsigned intervalMilliseconds) override;

  // What the window's WM_PAINT fills its client area with.
  COLORREF Background() const { return background_; }

 private:
  HWND window_;
  COLORREF background_;
  UINT_PTR timerId_;
  bool timerRunning_ = false;
};

}  // namespace lumenor::platform
