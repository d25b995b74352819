#pragma once
// A host for a VBHotKey: a run mode, a window, a size in twips, and the property changes it was
// told of. Setting the size calls `sized` (a host forwards its resize to OnResize).
#include <functional>
#include <string>
#include <vector>

#include "hotkey/vb_hot_key.h"

namespace lumenor::testing {

class FakeHotkeyHost final : public hotkey::VBHotKeyHost {
 public:
  bool userMode = true;
  platform::WindowHandle window = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  int sizeChanges = 0;
  std::vector<std::string> changes;  // MarkPropertyChanged keys, in order
  std::function<void()> sized;

  bool InUserMode() override { return userMode; }
  void MarkPropertyChanged(std::string_view key) override { changes.emplace_back(key); }
  platform::WindowHandle OwnWindow() override { return window; }
  std::int32_t WidthTwips() override { return width; }
  std::int32_t HeightTwips() override { return height; }
  void SetWidthTwips(std::int32_t twips) override { Resize(twips, height); }
  void SetHeightTwips(std::int32_t twips) override { Resize(width, twips); }

 private:
  void Resize(std::int32_t w, std::int32_t h) {
    if (w == width && h == height) return;  // the same size raises no resize
    width = w;
    height = h;
    ++sizeChanges;
    if (sized) sized();
  }
};

}  // namespace lumenor::testing
