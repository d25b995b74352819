// The dusk picture, drawn with GDI primitives on a 382 x 318 design grid scaled to the target: a
// sky gradient, the sun's glow as stacked translucent discs, the sun, and three rows of hills.

#include "app/dusk_picture_win32.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/handles_win32.h"

namespace lumenor::app {
namespace {

struct Rgb {
  BYTE r, g, b;
  COLORREF Ref() const { return RGB(r, g, b); }
};

constexpr double kDesignWidth = 382.0;
constexpr double kDesignHeight = 318.0;

// The sky runs from deep blue through violet to the orange of the horizon, which it reaches at
// y 190, just under the highest point of the far hills' valleys.
constexpr Rgb kSkyTop{18, 26, 74};
constexpr Rgb kSkyMiddle{112, 64, 140};
constexpr Rgb kHorizon{255, 170, 90};
constexpr double kHorizonY = 190.0;
constexpr double kSkyMiddleY = 0.55 * kHorizonY;

constexpr double kSunX = 318.0;
constexpr double kSunY = 118.0;
constexpr double kSunRadius = 27.0;
constexpr Rgb kSun{255, 240, 190};

// The glow's opacity falls with the square of the distance from the sun's centre, from 200/255
// there to nothing at 90 units.
constexpr Rgb kGlow{255, 230, 160};
constexpr double kGlowRadius = 90.0;
constexpr double kGlowPeak = 200.0 / 255.0;

struct Hill {
  double base, amplitude, period, phase;
  Rgb colour;
};
constexpr Hill kHills[] = {
    // far to near
    {180.0, 14.0, 37.0, 0.6, {92, 58, 110}},
    {214.0, 18.0, 29.0, 2.1, {58, 40, 84}},
    {252.0, 22.0, 46.0, 4.0, {30, 24, 52}},
};

using UniqueRegion = platform::UniqueHandle<HRGN, platform::GdiObjectDeleter>;
using platform::UniqueMemoryDc;

// Selects an object into a DC for the lifetime of this holder, then puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Maps design units onto the target rectangle.
class Grid {
 public:
  explicit Grid(const RECT& target)
      : target_(target),
        scaleX_((target.right - target.left) / kDesignWidth),
        scaleY_((target.bottom - target.top) / kDesignHeight) {}

  LONG X(double x) const { return target_.left + std::lround(x * scaleX_); }
  LONG Y(double y) const { return target_.top + std::lround(y * scaleY_); }
  double DesignX(LONG x) const { return (x - target_.left + 0.5) / scaleX_; }
  const RECT& Target() const { return target_; }

 private:
  RECT target_;
  double scaleX_;
  double scaleY_;
};

TRIVERTEX Vertex(LONG x, LONG y, Rgb colour) {
  return TRIVERTEX{x,
                   y,
                   static_cast<COLOR16>(colour.r << 8),
                   static_cast<COLOR16>(colour.g << 8),
                   static_cast<COLOR16>(colour.b << 8),
                   0};
}

void FillSolid(HDC dc, const RECT& rect, Rgb colour) {
  const platform::UniqueBrush brush(CreateSolidBrush(colour.Ref()));
  FillRect(dc, &rect, brush.get());
}

void DrawSky(HDC dc, const Grid& grid) {
  const RECT& t = grid.Target();
  const LONG middle = grid.Y(kSkyMiddleY);
  const LONG horizon = grid.Y(kHorizonY);
  TRIVERTEX vertices[] = {Vertex(t.left, t.top, kSkyTop), Vertex(t.right, middle, kSkyMiddle),
                          Vertex(t.left, middle, kSkyMiddle), Vertex(t.right, horizon, kHorizon)};
  GRADIENT_RECT bands[] = {{0, 1}, {2, 3}};
  GdiGradientFill(dc, vertices, 4, bands, 2, GRADIENT_FILL_RECT_V);
  // Below the horizon line the hills cover all but the far row's valleys.
  FillSolid(dc, RECT{t.left, horizon, t.right, t.bottom}, kHorizon);
}

// Opacity of the glow at a distance from the sun's centre.
double GlowOpacity(double distance) {
  const double fall = 1.0 - distance / kGlowRadius;
  return fall <= 0.0 ? 0.0 : kGlowPeak * fall * fall;
}

// Discs from the outermost in, each blended over the ones before, so that the opacity piled up
// inside each ring is the glow's opacity in the middle of that ring.
void DrawGlow(HDC dc, const Grid& grid) {
  const UniqueMemoryDc source(CreateCompatibleDC(dc));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 1;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const platform::UniqueBitmap pixel(
      CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!source || !pixel || bits == nullptr) return;
  *static_cast<DWORD*>(bits) = (DWORD{kGlow.r} << 16) | (DWORD{kGlow.g} << 8) | kGlow.b;
  const SelectedObject selected(source.get(), pixel.get());

  // About one disc per two device pixels of radius keeps the steps below what the eye sees.
  const int discs = std::clamp(static_cast<int>(grid.X(kGlowRadius) - grid.X(0.0)) / 2, 16, 96);
  const double step = kGlowRadius / discs;
  double piled = 0.0;  // the opacity the discs so far have laid down
  for (int disc = 0; disc < discs; ++disc) {
    const double radius = kGlowRadius - disc * step;
    if (radius <= kSunRadius) break;  // the sun covers the rest
    const double opacity = 1.0 - (1.0 - GlowOpacity(radius - step / 2)) / (1.0 - piled);
    const BYTE alpha = static_cast<BYTE>(std::clamp(std::lround(opacity * 255.0), 0L, 255L));
    piled = 1.0 - (1.0 - piled) * (1.0 - alpha / 255.0);
    const RECT box{grid.X(kSunX - radius), grid.Y(kSunY - radius), grid.X(kSunX + radius),
                   grid.Y(kSunY + radius)};
    const UniqueRegion round(CreateEllipticRgn(box.left, box.top, box.right + 1, box.bottom + 1));
    const int saved = SaveDC(dc);
    ExtSelectClipRgn(dc, round.get(), RGN_AND);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
    GdiAlphaBlend(dc, box.left, box.top, box.right - box.left + 1, box.bottom - box.top + 1,
                  source.get(), 0, 0, 1, 1, blend);
    RestoreDC(dc, saved);
  }
}

void DrawSun(HDC dc, const Grid& grid) {
  const platform::UniqueBrush brush(CreateSolidBrush(kSun.Ref()));
  const SelectedObject brushSelected(dc, brush.get());
  const SelectedObject penSelected(dc, GetStockObject(NULL_PEN));
  // A null pen leaves the right and bottom edges out: one more unit keeps the disc round.
  Ellipse(dc, grid.X(kSunX - kSunRadius), grid.Y(kSunY - kSunRadius),
          grid.X(kSunX + kSunRadius) + 1, grid.Y(kSunY + kSunRadius) + 1);
}

void DrawHills(HDC dc, const Grid& grid) {
  const RECT& t = grid.Target();
  const SelectedObject penSelected(dc, GetStockObject(NULL_PEN));
  std::vector<POINT> outline;
  outline.reserve(static_cast<std::size_t>(t.right - t.left) + 3);
  for (const Hill& hill : kHills) {
    outline.clear();
    // One point per device column keeps the ridge smooth at any size.
    for (LONG x = t.left; x <= t.right; ++x) {
      const double ridge =
          hill.base + hill.amplitude * std::sin(grid.DesignX(x) / hill.period + hill.phase);
      outline.push_back(POINT{x, grid.Y(ridge)});
    }
    outline.push_back(POINT{t.right, t.bottom + 1});
    outline.push_back(POINT{t.left, t.bottom + 1});
    const platform::UniqueBrush brush(CreateSolidBrush(hill.colour.Ref()));
    const SelectedObject brushSelected(dc, brush.get());
    Polygon(dc, outline.data(), static_cast<int>(outline.size()));
  }
}

}  // namespace

void PaintDuskPicture(HDC dc, const RECT& target) {
  if (target.right <= target.left || target.bottom <= target.top) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, target.left, target.top, target.right, target.bottom);
  const Grid grid(target);
  DrawSky(dc, grid);
  DrawGlow(dc, grid);
  DrawSun(dc, grid);
  DrawHills(dc, grid);
  RestoreDC(dc, saved);
}

}  // namespace lumenor::app
