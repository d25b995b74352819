#include "level/level_panel_win32.h"

#include <string>
#include <utility>

#include "level/level_panel_layout.h"
#include "platform/dpi_win32.h"
#include "platform/handles_win32.h"
#include "platform/overlay_surface_win32.h"
#include "platform/program_window_win32.h"
#include "platform/text_win32.h"
#include "platform/timer.h"
#include "platform/window_binding_win32.h"
#include "settings/settings_keeper.h"

namespace lumenor::level {

namespace {

// Off the taskbar and never activated, as the overlays: the panel is only looked at. Topmost from
// its creation; layered and mouse-transparent come with the overlay surface's click-through.
constexpr DWORD kCreationExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;

constexpr ULONGLONG kShownMs = 1500;
// While it shows, the panel looks this often whether a window came above it (the overlays
// re-assert their topmost place on their own tick) and whether its time is up.
constexpr unsigned kTickMs = 250;
constexpr std::uint8_t kOpacity = 235;

// At 96 DPI: the text's size, the room around the bar, and the bar and marker.
constexpr int kTextPoints = 12;
constexpr int kBarSide = 14;
constexpr int kBarHeight = 8;
constexpr int kBarBottom = 14;
constexpr int kMarkerOverhang = 3;
constexpr int kMarkerWidth = 3;

constexpr COLORREF kBackground = RGB(40, 40, 40);
constexpr COLORREF kTextColour = RGB(255, 255, 255);
constexpr COLORREF kWhiteStretch = RGB(240, 240, 240);
constexpr COLORREF kBacklightStretch = RGB(255, 184, 40);
constexpr COLORREF kBlackStretch = RGB(0, 0, 0);
constexpr COLORREF kBarOutline = RGB(140, 140, 140);
constexpr COLORREF kMarker = RGB(0, 150, 255);

RECT ToRect(const platform::PixelRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

void Fill(HDC dc, const RECT& area, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

}  // namespace

struct LevelPanel::Impl final : platform::WindowBase<Impl>, platform::Win32OverlaySurface {
  Impl(HINSTANCE instance, platform::ProgramWindow& program,
       const settings::SettingsKeeper& settings)
      : Win32OverlaySurface(kBackground),
        instance(instance),
        settings(settings),
        timer(program.MakeTimer([this] { OnTick(); })) {}
  ~Impl() override {
    timer.reset();
    DestroyWindowNow();
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  bool EnsureWindow() {
    if (Window() != nullptr) return true;
    const platform::WindowClassDesign design{kLevelPanelClass, LoadCursorW(nullptr, IDC_ARROW),
                                             nullptr};
    if (CreateBoundWindow(instance, design, L"",
                          {kCreationExStyle, WS_POPUP, RECT{}, nullptr, nullptr}) == nullptr)
      return false;
    BindSurface(Window());
    MakeClickThrough();
    SetOpacity(kOpacity);
    return true;
  }

  int Scaled(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi), 96); }

  void ShowReading(const dimming::LevelReading& shown) {
    if (!settings.Current().showLevel || !EnsureWindow()) return;
    const bool showing = IsShowing();
    // A held key steps several times a second: what has not changed is not asked again, since
    // every change of a window costs a round trip to the display server under Wine.
    if (std::wstring next = platform::Utf16(dimming::LevelText(shown)); next != text) {
      text = std::move(next);
      SetWindowTextW(Window(), text.c_str());
    }
    if (!showing || !(shown == reading)) {
      reading = shown;
      InvalidateRect(Window(), nullptr, FALSE);
    }

    POINT cursor{};
    GetCursorPos(&cursor);
    HMONITOR monitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return;
    const UINT monitorDpi = platform::MonitorDpi(monitor);
    if (monitorDpi != dpi || !font) {
      dpi = monitorDpi;
      LOGFONTW face{};
      face.lfHeight = -MulDiv(kTextPoints, static_cast<int>(dpi), 72);
      face.lfWeight = FW_NORMAL;
      face.lfCharSet = GB2312_CHARSET;
      face.lfQuality = CLEARTYPE_QUALITY;
      platform::Utf16("微软雅黑").copy(face.lfFaceName, LF_FACESIZE - 1);
      font.reset(CreateFontIndirectW(&face));
    }
    const RECT& work = info.rcWork;
    const platform::PixelRect place =
        PanelPlace({work.left, work.top, work.right, work.bottom}, Scaled(kPanelWidth),
                   Scaled(kPanelHeight), Scaled(kPanelBottomGap));
    if (!showing || place != shownPlace) {
      Cover(place);
      shownPlace = place;
    }
    const bool outOfCapture = !settings.Current().includeInScreenshots;
    if (outOfCapture != keptOutOfCapture) {
      KeepOutOfCapture(outOfCapture);
      keptOutOfCapture = outOfCapture;
    }
    // Shown without activation at the top of the topmost band, above the overlays.
    if (!showing) {
      Win32OverlaySurface::Show();
    } else {
      KeepOnTop();
    }
    shownAt = GetTickCount64();
    timer->Start(kTickMs);
  }

  void OnTick() {
    if (GetTickCount64() - shownAt >= kShownMs) {
      timer->Stop();
      Hide();
      return;
    }
    KeepOnTop();
  }

  // Another topmost window (an overlay shown or re-asserting its place) came above: back on top.
  void KeepOnTop() {
    if (GetWindow(Window(), GW_HWNDPREV) != nullptr) Raise();
  }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
      case WM_NCHITTEST:
        return HTTRANSPARENT;  // every click goes to whatever lies beneath
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
      case WM_ERASEBKGND:
        return 1;  // WM_PAINT paints every pixel
      case WM_DPICHANGED:
        return 0;  // the panel is sized for its display's DPI at each step
      case WM_PAINT: {
        PAINTSTRUCT ps;
        if (HDC dc = BeginPaint(Window(), &ps)) {
          Paint(dc);
          EndPaint(Window(), &ps);
        }
        return 0;
      }
      default:
        return DefaultHandling(message, wParam, lParam);
    }
  }

  void Paint(HDC dc) const {
    RECT client{};
    GetClientRect(Window(), &client);
    Fill(dc, client, kBackground);

    const platform::PixelRect bar{
        client.left + Scaled(kBarSide), client.bottom - Scaled(kBarBottom) - Scaled(kBarHeight),
        client.right - Scaled(kBarSide), client.bottom - Scaled(kBarBottom)};
    RECT textArea = client;
    textArea.bottom = bar.top - Scaled(kMarkerOverhang);
    const HGDIOBJ oldFont = SelectObject(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);

    const BarLayout layout = LayBar(reading, bar);
    const int outline = Scaled(1);
    Fill(dc, {bar.left - outline, bar.top - outline, bar.right + outline, bar.bottom + outline},
         kBarOutline);
    Fill(dc, ToRect(layout.white), kWhiteStretch);
    Fill(dc, ToRect(layout.backlight), kBacklightStretch);
    Fill(dc, ToRect(layout.black), kBlackStretch);
    const int half = Scaled(kMarkerWidth) / 2;
    Fill(dc,
         {layout.marker - half, bar.top - Scaled(kMarkerOverhang),
          layout.marker - half + Scaled(kMarkerWidth), bar.bottom + Scaled(kMarkerOverhang)},
         kMarker);
  }

  HINSTANCE instance;
  const settings::SettingsKeeper& settings;
  std::unique_ptr<platform::Timer> timer;  // runs only while the panel shows
  dimming::LevelReading reading;
  std::wstring text;  // its window text too
  UINT dpi = USER_DEFAULT_SCREEN_DPI;
  platform::UniqueFont font;      // for dpi
  bool keptOutOfCapture = false;  // as a window is made: captured
  platform::PixelRect shownPlace;
  ULONGLONG shownAt = 0;
};

LevelPanel::LevelPanel(HINSTANCE instance, platform::ProgramWindow& program,
                       const settings::SettingsKeeper& settings)
    : impl_(std::make_unique<Impl>(instance, program, settings)) {}

LevelPanel::~LevelPanel() = default;

void LevelPanel::ShowLevel(const dimming::LevelReading& reading) {
  impl_->ShowReading(reading);
}

}  // namespace lumenor::level
