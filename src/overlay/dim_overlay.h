#pragma once
// mask_form_black's behaviour over its window: the creation sequence, the keep-on-top tick and the
// darkness value's colour and opacity. Platform-free; the window is a platform::OverlaySurface.

#include <cstdint>
#include <optional>

#include "platform/overlay_surface.h"

namespace lumenor::overlay {

inline constexpr std::uint8_t kCreationAlpha = 200;
inline constexpr unsigned kKeepOnTopIntervalMs = 5000;  // Timer1_settop, the program's one tick
inline constexpr platform::ColorRef kDesignBackground = platform::MakeColorRef(192, 192, 192);
inline constexpr platform::ColorRef kBlack = platform::MakeColorRef(0, 0, 0);
inline constexpr platform::ColorRef kWhite = platform::MakeColorRef(255, 255, 255);

// What one darkness value does to the overlay.
struct DarknessLook {
  std::optional<platform::ColorRef> background;  // empty: the colour stays as it is
  std::uint8_t alpha = 0;
  friend bool operator==(const DarknessLook&, const DarknessLook&) = default;
};

// Black below 0, white above, colour kept at 0; opacity |value|. The darkness bar keeps values
// within -255 … 255; anything beyond saturates at full opacity rather than wrapping round.
DarknessLook LookForDarkness(std::int16_t value);

class DimOverlay {
 public:
  // window has just been created, hidden.
  explicit DimOverlay(platform::OverlaySurface& window);
  DimOverlay(const DimOverlay&) = delete;
  DimOverlay& operator=(const DimOverlay&) = delete;

  // The creation sequence: click-through, opacity 200, raised, over the whole of its display. It
  // never shows the window.
  void Create(const platform::PixelRect& display);

  // Timer1_settop: puts the window back on top, shown or hidden, without showing it, and covers
  // its display again when the window no longer does.
  void OnKeepOnTopTick();
  // Its display moved or changed mode: cover it where it is now.
  void Cover(const platform::PixelRect& display);

  bool IsShowing();
  void Show();  // changes neither colour nor opacity
  void Hide();
  void ApplyDarkness(std::int16_t value);
  void ShowLook(const DarknessLook& look);  // the colour, when it has one, and the opacity

 private:
  platform::OverlaySurface& window_;
  platform::PixelRect display_;
};

}  // namespace lumenor::overlay
