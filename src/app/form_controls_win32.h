#pragma once
// The controls of a form made from its design's rows (app/form_design.h): creation, layout at any
// DPI, fonts and colours are each one loop over the rows, and what was made of a row is found by
// looking up the row.

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/control_window_win32.h"
#include "app/form_design.h"
#include "app/main_window.h"
#include "app/scroll_bar_win32.h"
#include "app/slider_win32.h"
#include "hotkey/hotkey_control_win32.h"
#include "platform/handles_win32.h"

namespace lumenor::app {

// The pixels of a place in twips at a DPI.
RECT PixelRectOf(const TwipsRect& twips, UINT dpi);

class FormControls {
 public:
  struct Events {
    std::function<void(Slider)> sliderScrolled;
    std::function<void(Slider)> sliderChanged;
    std::function<void(ControlRole)> thumbDragged;    // a scroll bar's, by its role
    std::function<void(ControlRole)> scrollBarMoved;  // by its arrows, track or keys
    std::function<void(ControlRole)> hotkeyPressed;  // DarkerHotkey or BrighterHotkey
  };

  FormControls(HWND form, const FormDesign& design, Events events);
  ~FormControls();
  FormControls(const FormControls&) = delete;
  FormControls& operator=(const FormControls&) = delete;

  // Every window control of the design, hidden hotkey controls excluded, at the given DPI. Their
  // ranges are the core's to set (MainWindow::Load).
  void CreateControls(UINT dpi);
  // The hotkey controls: they register their keys when they load, and release them when destroyed,
  // which the form does first when it unloads.
  void CreateHotkeyControls();
  void DestroyHotkeyControls();
  // The hotkey controls created, in design order.
  std::vector<const hotkey::VBHotKey*> HotkeyControls() const;
  // The hotkey control that plays the role, for its key writes; null while it is not created.
  hotkey::VBHotKey* HotkeyFor(ControlRole role);
  // Places every control and gives it its font for the DPI.
  void LayOut(UINT dpi);

  // The control that plays the role for the core; null for none.
  HWND Control(const Role& role) const;
  SliderControl& SliderFor(Slider slider) const;
  ScrollBarControl& ScrollBarFor(ControlRole role) const;
  // A slider's or scroll bar's WM_HSCROLL, for its wrapper to handle.
  void HandleScroll(HWND control, WPARAM wParam);
  const ControlDesign* DesignOf(HWND control) const;
  const ControlDesign* DesignOf(int id) const;
  // The pixels of a design row at the DPI last laid out.
  RECT PixelRect(const ControlDesign& design) const;

  // WM_CTLCOLORSTATIC for a control with colours of its own: sets them on the DC and returns its
  // brush; null for a control with the system's colours.
  HBRUSH ColourStatic(HWND control, HDC dc) const;

 private:
  // What was made of one design row.
  struct Made {
    HWND window = nullptr;  // null for a windowless picture, and before creation
    std::unique_ptr<SliderControl> slider;
    std::unique_ptr<ScrollBarControl> scrollBar;
    std::unique_ptr<hotkey::HotkeyControlWindow> hotkey;
    platform::UniqueBrush brush;  // its own background colour; null for the system's
  };

  ControlPlace PlaceOf(const ControlDesign& design) const {
    return {form_, design.id, PixelRect(design)};
  }
  // A wrapper's notification, raising one of the events with the slider or role of its row.
  template <class Of>
  std::function<void()> Raise(std::function<void(Of)> Events::*event, Of of) {
    return [this, event, of] {
      if (events_.*event) (events_.*event)(of);
    };
  }
  HWND CreateWindowControl(const ControlDesign& design);
  std::unique_ptr<SliderControl> CreateSlider(const ControlDesign& design);
  std::unique_ptr<ScrollBarControl> CreateScrollBar(const ControlDesign& design);
  // The row that plays the role for the core; null for none.
  const Made* MadeFor(const Role& role) const;
  Made& MadeFor(const ControlDesign& design) { return made_[&design - design_.controls.data()]; }

  HWND form_;
  FormDesign design_;
  Events events_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  std::array<platform::UniqueFont, kFontRoles> fonts_;
  std::vector<Made> made_;  // by design row
};

}  // namespace lumenor::app
