#include "hotkey/hotkey_control_win32.h"

#include "hotkey/hotkey_dispatch_win32.h"
#include "hotkey/hotkey_errors.h"
#include "hotkey/settings_bag.h"
#include "hotkey/vb_hot_key.h"
#include "platform/dpi_win32.h"
#include "platform/hotkey_platform_win32.h"
#include "platform/window_binding_win32.h"

namespace lumenor::hotkey {

namespace {

constexpr wchar_t kClassName[] = L"LumenorHotkeyControl";

}  // namespace

struct HotkeyControlWindow::Impl final : VBHotKeyHost, platform::WindowBase<Impl> {
  std::unique_ptr<VBHotKey> control;
  bool destroyed = false;
  // The size last set in twips, kept while the window still has the pixel size made from it, so
  // that rounding to pixels never makes the control resize itself again.
  std::int32_t widthTwips = -1;
  std::int32_t heightTwips = -1;

  Impl() = default;
  ~Impl() { DestroyControl(); }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  void Create(HWND host, POINT topLeft) {
    // Hidden: the window only receives WM_HOTKEY and must never cover the host's controls.
    const platform::WindowPlacement placement{WS_EX_NOPARENTNOTIFY, WS_CHILD | WS_DISABLED,
                                              RECT{topLeft.x, topLeft.y, topLeft.x, topLeft.y},
                                              host, nullptr};
    if (CreateBoundWindow(GetModuleHandleW(nullptr), {kClassName}, L"", placement) == nullptr)
      throw HotkeyError("hotkey control window not created");
  }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  UINT Dpi() const {
    const UINT dpi = platform::WindowDpi(Window());
    return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
  }
  int ToPixels(std::int32_t twips) const { return platform::TwipsToPixels(twips, Dpi()); }
  std::int32_t ToTwips(int pixels) const { return platform::PixelsToTwips(pixels, Dpi()); }
  SIZE PixelSize() const {
    RECT r{};
    if (Window() != nullptr) GetWindowRect(Window(), &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  }
  void Resize(int width, int height) {
    SetWindowPos(Window(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }

  // Runs the control's OnDestroy once, while its window still exists.
  void DestroyControl() noexcept {
    if (destroyed || !control) return;
    destroyed = true;
    try {
      control->OnDestroy();
    } catch (...) {
    }
  }

  // VBHotKeyHost
  bool InUserMode() override { return true; }
  void MarkPropertyChanged(std::string_view) override {}
  WindowHandle OwnWindow() override { return platform::FromHwnd(Window()); }
  std::int32_t WidthTwips() override {
    const int px = PixelSize().cx;
    return (widthTwips >= 0 && px == ToPixels(widthTwips)) ? widthTwips : ToTwips(px);
  }
  std::int32_t HeightTwips() override {
    const int px = PixelSize().cy;
    return (heightTwips >= 0 && px == ToPixels(heightTwips)) ? heightTwips : ToTwips(px);
  }
  void SetWidthTwips(std::int32_t twips) override {
    widthTwips = twips;
    Resize(ToPixels(twips), PixelSize().cy);
  }
  void SetHeightTwips(std::int32_t twips) override {
    heightTwips = twips;
    Resize(PixelSize().cx, ToPixels(twips));
  }
};

LRESULT HotkeyControlWindow::Impl::HandleMessage(UINT message, WPARAM wParam,
                                                 LPARAM lParam) noexcept {
  switch (message) {
    case WM_SIZE:
    case WM_DPICHANGED_AFTERPARENT:  // 450 twips are another number of pixels now
      if (control && !destroyed) {
        try {
          control->OnResize();
        } catch (...) {
        }
      }
      return 0;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // never takes a click from the controls beneath
    case WM_ERASEBKGND:
      return 1;  // paints nothing
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(Window(), &ps);
      EndPaint(Window(), &ps);
      return 0;
    }
    case WM_DESTROY:
      // Destroyed with its host: undo the registration and subclassing while the window exists.
      DestroyControl();
      break;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

HotkeyControlWindow::HotkeyControlWindow(HWND host, POINT topLeft,
                                         std::span<const std::uint8_t> storedProperties,
                                         Events events)
    : impl_(std::make_unique<Impl>()) {
  impl_->Create(host, topLeft);
  // On a failure the Impl goes with this half-made object: it undoes what loaded and destroys
  // the window.
  impl_->control = std::make_unique<VBHotKey>(*impl_, Win32Hotkeys(), Win32HotkeyProcedures());
  impl_->control->HotkeyPressed = std::move(events.hotkeyPressed);
  impl_->control->ErrorOccured = std::move(events.errorOccured);
  impl_->control->OnCreate();
  impl_->control->LoadProperties(SettingsBag::FromBlock(storedProperties));
  impl_->control->OnResize();
}

// The control's OnDestroy runs first, then the base destroys the window.
HotkeyControlWindow::~HotkeyControlWindow() = default;

HWND HotkeyControlWindow::Window() const {
  return impl_->Window();
}

VBHotKey& HotkeyControlWindow::Control() {
  return *impl_->control;
}

}  // namespace lumenor::hotkey
