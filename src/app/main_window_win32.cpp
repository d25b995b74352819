// Form1: the main window. It creates the controls of the design, forwards their notifications to
// app::MainWindow and implements MainWindowControls with the real controls.

#include "app/main_window_win32.h"

#include <commctrl.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/dusk_picture_win32.h"
#include "app/main_window.h"
#include "app/main_window_design.h"
#include "app/slider_win32.h"
#include "hotkey/hotkey_control_win32.h"
#include "overlay/overlay_control.h"
#include "platform/dialogs_win32.h"
#include "platform/gamma_device_win32.h"
#include "platform/handles_win32.h"
#include "platform/program_files_win32.h"
#include "platform/window_binding_win32.h"
#include "resource_ids.h"

namespace lumenor::app {
namespace {

using platform::Utf16;

// ---------------------------------------------------------------------------------------------
// The design, in twips. Members of Frame2 are relative to the frame.

constexpr int kTwipsPerInch = 1440;
constexpr int kClientWidth = 6300;
constexpr int kClientHeight = 6150;
constexpr int kClientLeft = 5175;
constexpr int kClientTop = 1560;
constexpr std::string_view kCaption = "显示器极限亮度调节-Tandwin增强版";
constexpr wchar_t kClassName[] = L"LumenorMainWindow";

enum class Kind { Button, Frame, Slider, Label, ScrollBar, CheckBox };

enum ControlId : int {
  kCommand1 = 1001,
  kCommand2,
  kFrame2,
  kSlider3Red,
  kLabel1Red,
  kLabel1Green,
  kLabel1Blue,
  kSlider3Green,
  kSlider3Blue,
  kHScrollSetBlack,
  kSlider1,
  kLabel2,
  kLabelLiangdu,
  kSlider2,
  kLabel3,
  kLabelDbd,
  kLabelZlShow,
  kCheckEnhance,
  kLabelSm,
  kCommandTray,
};

struct ControlDesign {
  ControlId id;
  Kind kind;
  std::string_view caption;
  int left, top, width, height;
  bool inFrame;
};

constexpr int kFrameLeft = 285;
constexpr int kFrameTop = 1890;

// In tab-index order (0 … 19), which is the order of creation and of the keyboard.
constexpr std::array<ControlDesign, 20> kDesign = {{
    {kCommand1, Kind::Button, "恢复默认", 3735, 4695, 1200, 510, false},
    {kCommand2, Kind::Button, "退    出", 4980, 4695, 1200, 510, false},
    {kFrame2, Kind::Frame, "色相调整", kFrameLeft, kFrameTop, 5820, 2535, false},
    {kSlider3Red, Kind::Slider, "", 495, 360, 5130, 495, true},
    {kLabel1Red, Kind::Label, "红", 240, 450, 180, 255, true},
    {kLabel1Green, Kind::Label, "绿", 240, 1200, 180, 255, true},
    {kLabel1Blue, Kind::Label, "蓝", 240, 1875, 180, 255, true},
    {kSlider3Green, Kind::Slider, "", 495, 1065, 5100, 495, true},
    {kSlider3Blue, Kind::Slider, "", 495, 1770, 5115, 495, true},
    {kHScrollSetBlack, Kind::ScrollBar, "", 1485, 915, 4545, 270, false},
    {kSlider1, Kind::Slider, "", 1335, 255, 4815, 420, false},
    {kLabel2, Kind::Label, "1", 1035, 360, 405, 255, false},
    {kLabelLiangdu, Kind::Label, "亮度:", 240, 330, 480, 240, false},
    {kSlider2, Kind::Slider, "", 1380, 1365, 4740, 375, false},
    {kLabel3, Kind::Label, "1", 1035, 1365, 435, 255, false},
    {kLabelDbd, Kind::Label, "对比度:", 240, 1365, 720, 330, false},
    {kLabelZlShow, Kind::Label, "1", 1020, 885, 420, 255, false},
    {kCheckEnhance, Kind::CheckBox, "加强:", 240, 825, 750, 405, false},
    {kLabelSm, Kind::Label,
     "按住ctrl+←变黑,按住ctrl+→变亮,可实现显示器极限全黑(可欺骗关闭显示器)与高亮调节.Tandwin专版.",
     -15, 5250, 6330, 765, false},
    {kCommandTray, Kind::Button, "小到托盘", 2310, 4710, 1335, 495, false},
}};

// Image: a windowless picture under every control, like a label.
constexpr RECT kImageTwips = {-3420, 3270, -3420 + 5730, 3270 + 4770};
// The two hotkey controls, which paint nothing and size themselves.
constexpr POINT kHotkeyLeftTwips = {6135, 1365};
constexpr POINT kHotkeyRightTwips = {6060, 195};

constexpr int kDarknessMinimum = -255;
constexpr int kDarknessMaximum = 255;

constexpr COLORREF kRedLetterBack = RGB(0xFF, 0xC0, 0xC0);
constexpr COLORREF kGreenLetterBack = RGB(0xC0, 0xFF, 0xC0);
constexpr COLORREF kBlueLetterBack = RGB(0x80, 0x80, 0xFF);
constexpr COLORREF kBannerText = RGB(0xFF, 0xFF, 0x00);
constexpr COLORREF kBannerBack = RGB(0x00, 0x00, 0x00);

constexpr std::wstring_view kMainFont = L"微软雅黑";
constexpr std::wstring_view kCheckFont = L"宋体";
constexpr int kMainFontPoints = 9;
constexpr int kBannerFontPoints = 12;

// A second copy is told and ends; the name is held for the whole life of the process.
constexpr wchar_t kInstanceMutexName[] = L"Local\\Lumenor.MainWindow.SingleInstance";

// ---------------------------------------------------------------------------------------------
// Handles

using FontHandle = platform::UniqueFont;
using BrushHandle = platform::UniqueBrush;
using IconHandle = platform::UniqueIcon;
using KernelHandle = platform::UniqueKernelHandle;

// True when another copy of the program holds the instance name. The first answer stands for the
// process: the window is loaded again after its close box, and this copy keeps the name.
bool AnotherCopyRunning() {
  struct Instance {
    KernelHandle mutex;
    bool another = false;
  };
  static const Instance instance = [] {
    Instance result;
    result.mutex.reset(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    result.another = result.mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    return result;
  }();
  return instance.another;
}

FontHandle MakeFont(std::wstring_view face, int points, UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = GB2312_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return FontHandle(CreateFontIndirectW(&font));
}

// ---------------------------------------------------------------------------------------------
// The form

class Form final : public MainWindowForm, private MainWindowControls {
 public:
  Form(HINSTANCE instance, overlay::OverlayControl& overlay, Callbacks callbacks)
      : instance_(instance), overlay_(overlay), callbacks_(std::move(callbacks)) {}
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window, its controls and its hotkey controls, then runs the start-up sequence.
  void Create();

  void Show() override;
  HWND Window() const override { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControls();
  void CreateHotkeyControls();
  void ApplyDpi(UINT dpi);
  void LayOut();
  void PaintPicture(HDC dc);
  void OnCommand(int id, int code);
  void OnDarknessScroll(int code);
  LRESULT OnColourStatic(HDC dc, HWND control);

  int Px(int twips) const { return MulDiv(twips, static_cast<int>(dpi_), kTwipsPerInch); }
  RECT PxRect(int left, int top, int width, int height) const {
    return RECT{Px(left), Px(top), Px(left + width), Px(top + height)};
  }
  RECT ControlRect(const ControlDesign& design) const;
  HWND Control(ControlId id) const { return GetDlgItem(window_, id); }
  SliderControl& SliderFor(Slider slider) { return *sliders_[static_cast<std::size_t>(slider)]; }
  const SliderControl& SliderFor(Slider slider) const {
    return *sliders_[static_cast<std::size_t>(slider)];
  }

  // MainWindowControls
  int SliderValue(Slider slider) const override { return SliderFor(slider).Value(); }
  void SetSliderRange(Slider slider, int minimum, int maximum) override {
    SliderFor(slider).SetRange(minimum, maximum);
  }
  void SetSliderValue(Slider slider, int value) override { SliderFor(slider).SetValue(value); }
  void SetLabel(ValueLabel label, std::string_view text) override;
  bool EnhanceTicked() const override;
  void SetEnhanceTicked(bool ticked) override;
  int DarknessValue() const override;
  int DarknessMinimum() const override;
  int DarknessMaximum() const override;
  void SetDarknessValue(int value) override;
  void HideWindow() override { ShowWindow(window_, SW_HIDE); }

  HINSTANCE instance_;
  overlay::OverlayControl& overlay_;
  Callbacks callbacks_;

  HWND window_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  HWND lastFocus_ = nullptr;

  FontHandle mainFont_;
  FontHandle checkFont_;
  FontHandle bannerFont_;
  BrushHandle redLetterBrush_{CreateSolidBrush(kRedLetterBack)};
  BrushHandle greenLetterBrush_{CreateSolidBrush(kGreenLetterBack)};
  BrushHandle blueLetterBrush_{CreateSolidBrush(kBlueLetterBack)};
  BrushHandle bannerBrush_{CreateSolidBrush(kBannerBack)};
  IconHandle bigIcon_;
  IconHandle smallIcon_;

  // Slider1, Slider2, Slider3(0 … 2), in the order of app::Slider.
  std::array<std::unique_ptr<SliderControl>, 5> sliders_;
  std::unique_ptr<hotkey::HotkeyControlWindow> hotkeyLeft_;
  std::unique_ptr<hotkey::HotkeyControlWindow> hotkeyRight_;

  std::unique_ptr<platform::DesktopGammaDevice> display_;
  platform::MessageBoxDialogs dialogs_;
  platform::DirectoryFiles programFiles_;
  std::unique_ptr<MainWindow> core_;
};

Form::~Form() {
  // The hotkey controls first: they release their keys and their windows while the host lives.
  hotkeyLeft_.reset();
  hotkeyRight_.reset();
  core_.reset();
  display_.reset();  // releases the desktop's device context
  if (window_ != nullptr) {
    // No message reaches this object any more, from here on or from the destruction below.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    for (auto& slider : sliders_) slider.reset();
    DestroyWindow(window_);
    window_ = nullptr;
  }
}

RECT Form::ControlRect(const ControlDesign& design) const {
  const int left = design.inFrame ? kFrameLeft + design.left : design.left;
  const int top = design.inFrame ? kFrameTop + design.top : design.top;
  return PxRect(left, top, design.width, design.height);
}

void Form::Create() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &Form::WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  platform::EnsureWindowClass(windowClass);

  // A fixed tool window: thin caption, close box only, no taskbar button, not resizable. The
  // first size and place are rough; ApplyDpi sets them with the window's own DPI.
  const std::wstring caption = Utf16(kCaption);
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kClassName, caption.c_str(),
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 100, 100, nullptr,
                            nullptr, instance_, this);
  if (window_ == nullptr) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "CreateWindowExW(Form1)");
  }
  dialogs_.SetOwner(window_);

  INITCOMMONCONTROLSEX common{static_cast<DWORD>(sizeof(common)),
                              ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);

  CreateControls();

  // Place it by the system's DPI first, then again by the DPI of the monitor it landed on.
  dpi_ = GetDpiForSystem();
  ApplyDpi(dpi_);
  const UINT windowDpi = GetDpiForWindow(window_);
  if (windowDpi != 0 && windowDpi != dpi_) ApplyDpi(windowDpi);

  CreateHotkeyControls();

  // The start-up sequence: the desktop's device context, then the core's part.
  display_ = std::make_unique<platform::DesktopGammaDevice>();
  MainWindowControls& controls = *this;
  core_ = std::make_unique<MainWindow>(controls, *display_, overlay_, dialogs_, programFiles_);
  core_->Load();
}

void Form::CreateControls() {
  for (const ControlDesign& design : kDesign) {
    const std::wstring text = Utf16(design.caption);
    const RECT r = ControlRect(design);
    const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id));
    // Every control clips its siblings, so one created earlier (higher in the z-order) stays on
    // top where two overlap.
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    HWND control = nullptr;
    switch (design.kind) {
      case Kind::Button:
        control = CreateWindowExW(
            0, WC_BUTTONW, text.c_str(), child | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, r.left,
            r.top, r.right - r.left, r.bottom - r.top, window_, id, instance_, nullptr);
        break;
      case Kind::CheckBox:
        control = CreateWindowExW(
            0, WC_BUTTONW, text.c_str(), child | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, r.left,
            r.top, r.right - r.left, r.bottom - r.top, window_, id, instance_, nullptr);
        break;
      case Kind::Frame:
        control =
            CreateWindowExW(0, WC_BUTTONW, text.c_str(), child | BS_GROUPBOX, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, window_, id, instance_, nullptr);
        break;
      case Kind::Label:
        control = CreateWindowExW(0, WC_STATICW, text.c_str(), child | SS_LEFT | SS_NOPREFIX,
                                  r.left, r.top, r.right - r.left, r.bottom - r.top, window_, id,
                                  instance_, nullptr);
        break;
      case Kind::ScrollBar:
        control = CreateWindowExW(0, WC_SCROLLBARW, L"", child | WS_TABSTOP | WS_GROUP | SBS_HORZ,
                                  r.left, r.top, r.right - r.left, r.bottom - r.top, window_, id,
                                  instance_, nullptr);
        {
          // Range -255 … 255, value 0 in the design; small and large change 1.
          SCROLLINFO info{static_cast<UINT>(sizeof(info)),
                          SIF_RANGE | SIF_POS | SIF_PAGE,
                          kDarknessMinimum,
                          kDarknessMaximum,
                          0,
                          0,
                          0};
          SetScrollInfo(control, SB_CTL, &info, TRUE);
        }
        break;
      case Kind::Slider: {
        auto slider =
            std::make_unique<SliderControl>(SliderControl::CreateArgs{window_, design.id, r});
        const Slider which = design.id == kSlider1        ? Slider::Brightness
                             : design.id == kSlider2      ? Slider::Contrast
                             : design.id == kSlider3Red   ? Slider::Red
                             : design.id == kSlider3Green ? Slider::Green
                                                          : Slider::Blue;
        slider->onScroll = [this, which] {
          if (core_) core_->OnSliderScroll(which);
        };
        slider->onChange = [this, which] {
          if (core_) core_->OnSliderChange(which);
        };
        // The design's ranges, replaced at start-up.
        slider->SetRange(0, which == Slider::Contrast ? 20 : 10);
        sliders_[static_cast<std::size_t>(which)] = std::move(slider);
        break;
      }
    }
    (void)control;
  }
  // The frame below its members, which are the window's own children so that their
  // notifications come here.
  SetWindowPos(Control(kFrame2), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::CreateHotkeyControls() {
  const POINT left{Px(kHotkeyLeftTwips.x), Px(kHotkeyLeftTwips.y)};
  const POINT right{Px(kHotkeyRightTwips.x), Px(kHotkeyRightTwips.y)};
  hotkeyLeft_ = std::make_unique<hotkey::HotkeyControlWindow>(
      window_, left, std::span<const std::uint8_t>(kHotkeyLeftProperties),
      hotkey::HotkeyControlWindow::Events{[this] {
                                            if (core_) core_->OnDarkerHotkey();
                                          },
                                          {}});
  hotkeyRight_ = std::make_unique<hotkey::HotkeyControlWindow>(
      window_, right, std::span<const std::uint8_t>(kHotkeyRightProperties),
      hotkey::HotkeyControlWindow::Events{[this] {
                                            if (core_) core_->OnBrighterHotkey();
                                          },
                                          {}});
}

void Form::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  mainFont_ = MakeFont(kMainFont, kMainFontPoints, dpi);
  checkFont_ = MakeFont(kCheckFont, kMainFontPoints, dpi);
  bannerFont_ = MakeFont(kMainFont, kBannerFontPoints, dpi);

  // The new icons are handed over before the old ones are destroyed.
  IconHandle big(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_LUMENOR), IMAGE_ICON,
                                               GetSystemMetricsForDpi(SM_CXICON, dpi),
                                               GetSystemMetricsForDpi(SM_CYICON, dpi), 0)));
  IconHandle small(static_cast<HICON>(LoadImageW(
      instance_, MAKEINTRESOURCEW(IDI_LUMENOR), IMAGE_ICON,
      GetSystemMetricsForDpi(SM_CXSMICON, dpi), GetSystemMetricsForDpi(SM_CYSMICON, dpi), 0)));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  bigIcon_ = std::move(big);
  smallIcon_ = std::move(small);

  // The client area at its place and size in twips; the frame around it as this DPI draws it.
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  RECT outer = PxRect(kClientLeft, kClientTop, kClientWidth, kClientHeight);
  AdjustWindowRectExForDpi(&outer, style, FALSE, exStyle, dpi);
  SetWindowPos(window_, nullptr, outer.left, outer.top, outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut();
}

void Form::LayOut() {
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(mainFont_.get()), FALSE);
  for (const ControlDesign& design : kDesign) {
    HWND control = Control(design.id);
    if (control == nullptr) continue;
    const RECT r = ControlRect(design);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = design.id == kCheckEnhance ? checkFont_.get()
                 : design.id == kLabelSm    ? bannerFont_.get()
                                            : mainFont_.get();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (hotkeyLeft_) {
    SetWindowPos(hotkeyLeft_->Window(), nullptr, Px(kHotkeyLeftTwips.x), Px(kHotkeyLeftTwips.y), 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (hotkeyRight_) {
    SetWindowPos(hotkeyRight_->Window(), nullptr, Px(kHotkeyRightTwips.x), Px(kHotkeyRightTwips.y),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(window_, nullptr, TRUE);
}

void Form::Show() {
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* form = static_cast<Form*>(create->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  } else if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  // The handler may end in the owner deleting this form (close box, exit); it touches nothing of
  // the form after such a call, and neither does this procedure.
  return form->HandleMessage(message, wParam, lParam);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;

    case WM_HSCROLL: {
      const auto control = reinterpret_cast<HWND>(lParam);
      if (control == Control(kHScrollSetBlack)) {
        OnDarknessScroll(LOWORD(wParam));
        return 0;
      }
      for (auto& slider : sliders_) {
        if (slider && slider->Window() == control) {
          slider->HandleScroll(wParam);
          return 0;
        }
      }
      break;
    }

    case WM_CTLCOLORSTATIC:
      return OnColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));

    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      PaintPicture(dc);
      EndPaint(window_, &paint);
      return 0;
    }

    case WM_ACTIVATE:
      // As a dialog does: the focus leaves with the window and comes back to the same control,
      // the first time to Command1.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
      } else {
        HWND target =
            lastFocus_ != nullptr && IsWindow(lastFocus_) ? lastFocus_ : Control(kCommand1);
        SetFocus(target);
        return 0;
      }
      break;

    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      ApplyDpi(HIWORD(wParam));
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }

    case WM_CLOSE: {
      // The close box unloads the window; the owner deletes this form, which ends the hotkeys,
      // releases the device context and destroys the window. Nothing of the form is used after
      // the call, which may delete it.
      ShowWindow(window_, SW_HIDE);
      const auto unloaded = callbacks_.unloaded;
      if (unloaded) unloaded();
      return 0;
    }

    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void Form::OnCommand(int id, int code) {
  if (code != BN_CLICKED || !core_) return;
  switch (id) {
    case kCommand1:
      core_->OnRestoreClick();
      break;
    case kCommand2: {
      const auto endProgram = callbacks_.endProgram;  // may delete this form
      if (endProgram) endProgram();
      break;
    }
    case kCommandTray:
      core_->OnHideClick();
      break;
    case kCheckEnhance:
      core_->OnEnhanceClick();
      break;
    default:
      break;
  }
}

void Form::OnDarknessScroll(int code) {
  HWND bar = Control(kHScrollSetBlack);
  SCROLLINFO info{static_cast<UINT>(sizeof(info)), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bar, SB_CTL, &info);
  int value = info.nPos;
  // Arrows, track and keys only move the value; dragging the thumb also runs the update.
  switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
      value -= 1;
      break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
      value += 1;
      break;
    case SB_LEFT:
      value = info.nMin;
      break;
    case SB_RIGHT:
      value = info.nMax;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      value = info.nTrackPos;
      break;
    default:
      return;
  }
  SetDarknessValue(value);
  if (code == SB_THUMBTRACK && core_) core_->OnDarknessThumbDrag();
}

LRESULT Form::OnColourStatic(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  HBRUSH brush = nullptr;
  COLORREF back = 0;
  switch (id) {
    case kLabel1Red:
      brush = redLetterBrush_.get();
      back = kRedLetterBack;
      break;
    case kLabel1Green:
      brush = greenLetterBrush_.get();
      back = kGreenLetterBack;
      break;
    case kLabel1Blue:
      brush = blueLetterBrush_.get();
      back = kBlueLetterBack;
      break;
    case kLabelSm:
      SetTextColor(dc, kBannerText);
      brush = bannerBrush_.get();
      back = kBannerBack;
      break;
    default:
      return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(control));
  }
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(brush);
}

void Form::PaintPicture(HDC dc) {
  // Windowless, like the design's Image: every control covers it, the frame included.
  const int saved = SaveDC(dc);
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  PaintDuskPicture(dc,
                   PxRect(kImageTwips.left, kImageTwips.top, kImageTwips.right - kImageTwips.left,
                          kImageTwips.bottom - kImageTwips.top));
  RestoreDC(dc, saved);
}

void Form::SetLabel(ValueLabel label, std::string_view text) {
  const ControlId id = label == ValueLabel::Brightness ? kLabel2
                       : label == ValueLabel::Contrast ? kLabel3
                                                       : kLabelZlShow;
  SetWindowTextW(Control(id), Utf16(text).c_str());
}

bool Form::EnhanceTicked() const {
  return SendMessageW(Control(kCheckEnhance), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetEnhanceTicked(bool ticked) {
  const bool wasTicked = EnhanceTicked();
  SendMessageW(Control(kCheckEnhance), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
  // Ticking it runs its click reaction, as a user's click would; clearing it runs none.
  if (ticked && !wasTicked && core_) core_->OnEnhanceClick();
}

int Form::DarknessValue() const {
  return GetScrollPos(Control(kHScrollSetBlack), SB_CTL);
}

int Form::DarknessMinimum() const {
  int minimum = 0;
  int maximum = 0;
  GetScrollRange(Control(kHScrollSetBlack), SB_CTL, &minimum, &maximum);
  return minimum;
}

int Form::DarknessMaximum() const {
  int minimum = 0;
  int maximum = 0;
  GetScrollRange(Control(kHScrollSetBlack), SB_CTL, &minimum, &maximum);
  return maximum;
}

void Form::SetDarknessValue(int value) {
  SetScrollPos(Control(kHScrollSetBlack), SB_CTL, value, TRUE);
}

}  // namespace

std::unique_ptr<MainWindowForm> MainWindowForm::Load(HINSTANCE instance,
                                                     overlay::OverlayControl& overlay,
                                                     Callbacks callbacks) {
  // The single-instance test comes first: a second copy creates nothing, so it cannot disturb
  // the first copy's hotkeys or windows.
  if (AnotherCopyRunning()) {
    platform::MessageBoxDialogs().ShowMessage(kAlreadyRunningText, platform::kProgramTitle,
                                              platform::MessageIcon::None);
    if (callbacks.endProgram) callbacks.endProgram();
    return nullptr;
  }
  auto form = std::make_unique<Form>(instance, overlay, std::move(callbacks));
  form->Create();
  return form;
}

}  // namespace lumenor::app
