#pragma once
// mask_form_black: the click-through, topmost, layered overlay over the primary screen. Its window
// is created, hidden, on the first call of any OverlayControl member and lives until this object
// is destroyed at the end of the program.

#include <windows.h>

#include <memory>

#include "overlay/overlay_control.h"

namespace lumenor::overlay {

class OverlayWindow final : public OverlayControl {
 public:
  explicit OverlayWindow(HINSTANCE instance);
  ~OverlayWindow() override;
  OverlayWindow(const OverlayWindow&) = delete;
  OverlayWindow& operator=(const OverlayWindow&) = delete;

  bool IsShowing() override;
  void Show() override;
  void Hide() override;
  void ApplyDarkness(std::int16_t value) override;

  HWND Window();  // creates it when it does not exist yet

  // The display may have changed (a resume, an unlock, a change of mode another window heard):
  // an overlay that exists covers the primary screen again.
  void FollowPrimaryScreen();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lumenor::overlay
