#pragma once
// platform::LayeredWindow over a real window. It does not own the window; it keeps the background
// colour the window paints with.
#include <windows.h>

#include "platform/layered_window.h"

namespace lumenor::platform {

class Win32LayeredWindow : public LayeredWindow {
 public:
  // window must outlive this object.
  Win32LayeredWindow(HWND window, COLORREF background) : window_(window), background_(background) {}
  Win32LayeredWindow(const Win32LayeredWindow&) = delete;
  Win32LayeredWindow& operator=(const Win32LayeredWindow&) = delete;

  std::uint32_t ExtendedStyle() override;
  void SetExtendedStyle(std::uint32_t style) override;
  void SetLayeredAttributes(ColorRef colorKey, std::uint8_t alpha, std::uint32_t flags) override;
  void BringToTopmost() override;
  void MoveAndSize(const PixelRect& bounds) override;
  PixelRect WindowBounds() override;
  void SetBackground(ColorRef colour) override;
  bool IsVisible() override;
  void Show() override;
  void Hide() override;

  // What the window's WM_PAINT fills its client area with.
  COLORREF Background() const { return background_; }

 protected:
  // For a window that is both: the window is bound once it has been created.
  explicit Win32LayeredWindow(COLORREF background) : background_(background) {}
  void BindLayered(HWND window) { window_ = window; }

 private:
  HWND window_ = nullptr;
  COLORREF background_;
};

}  // namespace lumenor::platform
