#include "overlay/overlay_window_win32.h"

#include <optional>

#include "overlay/dim_overlay.h"
#include "platform/handles_win32.h"
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

struct OverlayWindow::Impl {
  explicit Impl(HINSTANCE instance) : instance(instance) {}
  ~Impl() {
    // The core and the timer go before the window, whose last messages then find neither.
    overlay.reset();
    surface.reset();
    window.reset();
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  DimOverlay& Ensure();
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void Fill(HDC dc, const RECT& area) const;

  HINSTANCE instance;
  platform::UniqueWindow window;
  std::optional<platform::Win32LayeredWindow> surface;
  std::optional<DimOverlay> overlay;
};

DimOverlay& OverlayWindow::Impl::Ensure() {
  if (overlay) return *overlay;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &platform::BoundWindowProc<Impl>;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  platform::EnsureWindowClass(wc);  // no background brush: WM_PAINT fills with the current colour
  // Created hidden: WS_VISIBLE is not among the styles.
  HWND created = CreateWindowExW(kCreationExStyle, kClassName, kCaption, WS_POPUP, 0, 0, 0, 0,
                                 nullptr, nullptr, instance, this);
  window.reset(created);
  surface.emplace(created, kDesignBackground, kKeepOnTopTimerId);
  overlay.emplace(*surface);
  overlay->Create();
  return *overlay;
}

LRESULT OverlayWindow::Impl::Handle(HWND hwnd, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // the mouse goes to whatever lies beneath
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole update area
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (HDC dc = BeginPaint(hwnd, &ps)) {
        Fill(dc, ps.rcPaint);
        EndPaint(hwnd, &ps);
      }
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(hwnd, &client);
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
  return DefWindowProcW(hwnd, message, wParam, lParam);
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
  return impl_->window.get();
}

}  // namespace lumenor::overlay
