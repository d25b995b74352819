#include "overlay/overlay_window_win32.h"

#include <optional>

#include "overlay/dim_overlay.h"
#include "platform/layered_window_win32.h"
#include "platform/window_binding_win32.h"

namespace lumenor::overlay {

namespace {

constexpr wchar_t kClassName[] = L"mask_form_black";
constexpr wchar_t kCaption[] = L"balck";   // never seen: the window has no caption bar
constexpr UINT_PTR kKeepOnTopTimerId = 1;  // Timer1_settop
// Off the taskbar as an owner-less tool window; never activated, not even by a click.
constexpr DWORD kCreationExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

}  // namespace

struct OverlayWindow::Impl final : platform::WindowBase<Impl> {
  explicit Impl(HINSTANCE instance) : instance(instance) {}
  ~Impl() {
    // The core and the timer go before the window, whose last messages then find neither.
    overlay.reset();
    surface.reset();
    DestroyWindowNow();
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  DimOverlay& Ensure();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void Fill(HDC dc, const RECT& area) const;

  HINSTANCE instance;
  std::optional<platform::Win32LayeredWindow> surface;
  std::optional<DimOverlay> overlay;
};

DimOverlay& OverlayWindow::Impl::Ensure() {
  if (overlay) return *overlay;
  // No background brush: WM_PAINT fills with the current colour. Created hidden: WS_VISIBLE is
  // not among the styles.
  const platform::WindowClassDesign design{kClassName, LoadCursorW(nullptr, IDC_ARROW), nullptr};
  HWND created = CreateBoundWindow(instance, design, kCaption,
                                   {kCreationExStyle, WS_POPUP, RECT{}, nullptr, nullptr});
  surface.emplace(created, kDesignBackground, kKeepOnTopTimerId);
  overlay.emplace(*surface);
  overlay->Create();
  return *overlay;
}

LRESULT OverlayWindow::Impl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // the mouse goes to whatever lies beneath
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole update area
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (HDC dc = BeginPaint(Window(), &ps)) {
        Fill(dc, ps.rcPaint);
        EndPaint(Window(), &ps);
      }
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(Window(), &client);
      Fill(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kKeepOnTopTimerId && overlay) {
        overlay->OnKeepOnTopTick();
        return 0;
      }
      break;
    case WM_DISPLAYCHANGE:
      if (overlay) overlay->OnDisplayChange();
      break;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void OverlayWindow::Impl::Fill(HDC dc, const RECT& area) const {
  const COLORREF colour = surface ? surface->Background() : kDesignBackground;
  const COLORREF previous = SetDCBrushColor(dc, colour);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetDCBrushColor(dc, previous);
}

OverlayWindow::OverlayWindow(HINSTANCE instance) : impl_(std::make_unique<Impl>(instance)) {}

OverlayWindow::~OverlayWindow() = default;

bool OverlayWindow::IsShowing() {
  return impl_->Ensure().IsShowing();
}

void OverlayWindow::Show() {
  impl_->Ensure().Show();
}

void OverlayWindow::Hide() {
  impl_->Ensure().Hide();
}

void OverlayWindow::ApplyDarkness(std::int16_t value) {
  impl_->Ensure().ApplyDarkness(value);
}

HWND OverlayWindow::Window() {
  impl_->Ensure();
  return impl_->Window();
}

}  // namespace lumenor::overlay
