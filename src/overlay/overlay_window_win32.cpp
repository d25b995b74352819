#include "overlay/overlay_window_win32.h"

#include "overlay/dim_overlay.h"
#include "platform/window_binding_win32.h"

namespace lumenor::overlay {

namespace {

constexpr wchar_t kClassName[] = L"mask_form_black";
constexpr wchar_t kCaption[] = L"balck";  // never seen: the window has no caption bar
// Off the taskbar as an owner-less tool window; never activated, not even by a click.
constexpr DWORD kCreationExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

}  // namespace

struct OverlayWindow::Impl final : platform::WindowBase<Impl> {
  Impl(HINSTANCE instance, const OverlayWindow& owner) : owner(owner) {
    // No background brush: WM_PAINT fills with the current colour. Created hidden: WS_VISIBLE is
    // not among the styles.
    const platform::WindowClassDesign design{kClassName, LoadCursorW(nullptr, IDC_ARROW), nullptr};
    CreateBoundWindow(instance, design, kCaption,
                      {kCreationExStyle, WS_POPUP, RECT{}, nullptr, nullptr});
  }
  ~Impl() { DestroyWindowNow(); }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
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
      default:
        return DefaultHandling(message, wParam, lParam);
    }
  }

  void Fill(HDC dc, const RECT& area) const {
    const COLORREF previous = SetDCBrushColor(dc, owner.Colour());
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, previous);
  }

  const OverlayWindow& owner;
};

OverlayWindow::OverlayWindow(HINSTANCE instance)
    : Win32OverlaySurface(kDesignBackground), impl_(std::make_unique<Impl>(instance, *this)) {
  BindSurface(impl_->Window());
}

OverlayWindow::~OverlayWindow() = default;

std::unique_ptr<platform::OverlaySurface> OverlayWindows::Create() {
  return std::make_unique<OverlayWindow>(instance_);
}

}  // namespace lumenor::overlay
