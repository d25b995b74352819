#pragma once
// A layered window as the overlay relies on the window system keeping one: it holds its style,
// layered attributes, z-order, rectangle, background and visibility, and logs every call in order.
#include <memory>
#include <string>
#include <vector>

#include "platform/layered_window.h"

namespace lumenor::testing {

class FakeLayeredWindow : public platform::LayeredWindow {
 public:
  ~FakeLayeredWindow() override;
  std::uint32_t ExtendedStyle() override;
  void SetExtendedStyle(std::uint32_t style) override;
  void SetLayeredAttributes(platform::ColorRef colorKey, std::uint8_t alpha,
                            std::uint32_t flags) override;
  void BringToTopmost() override;
  void MoveAndSize(const platform::PixelRect& bounds) override;
  platform::PixelRect WindowBounds() override;
  void SetBackground(platform::ColorRef colour) override;
  bool IsVisible() override;
  void Show() override;
  void Hide() override;

  // The window's state, as a freshly created, hidden tool window has it.
  std::uint32_t exStyle = platform::kExStyleToolWindow | platform::kExStyleNoActivate;
  platform::ColorRef colorKey = 0;
  int alpha = -1;  // -1: never set
  std::uint32_t layeredFlags = 0;
  bool topmost = false;
  int left = 0, top = 0, width = 0, height = 0;
  platform::ColorRef background = platform::MakeColorRef(192, 192, 192);
  bool visible = false;
  bool* destroyed = nullptr;  // set when the window goes

  // Every call, in order, e.g. "SetExtendedStyle 0x80080", "SetLayeredAttributes 0x100 126 2".
  std::vector<std::string> calls;
};

// The overlay's windows as the fake window system makes them: every window made, in order, and
// which of them still exist.
class FakeLayeredWindows : public platform::LayeredWindows {
 public:
  std::unique_ptr<platform::LayeredWindow> Create() override;
  std::vector<FakeLayeredWindow*> Live() const;  // in the order they were made

  std::vector<FakeLayeredWindow*> made;
  std::vector<std::unique_ptr<bool>> gone;
};

}  // namespace lumenor::testing
