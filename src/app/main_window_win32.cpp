// Form1: the main window. Its design (main_window_design.h) says what every control is;
// FormControls makes and lays them out from it, this file routes their notifications to
// app::MainWindow and implements MainWindowControls with them.

#include "app/main_window_win32.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "app/form_controls_win32.h"
#include "app/form_picture_win32.h"
#include "app/hotkey_keys.h"
#include "app/main_window.h"
#include "app/main_window_design.h"
#include "app/notices.h"
#include "app/window_state.h"
#include "dimming/darkness_road.h"
#include "platform/dialogs_win32.h"
#include "platform/dpi_win32.h"
#include "platform/failure.h"
#include "platform/program_files_win32.h"
#include "platform/readable_win32.h"
#include "platform/text_win32.h"
#include "platform/window_binding_win32.h"
#include "resource_ids.h"

namespace lumenor::app {
namespace {

constexpr wchar_t kClassName[] = L"LumenorMainWindow";

}  // namespace

// Form1's window, controls and core, private to this file behind MainWindowForm.
struct MainWindowForm::Impl final : platform::WindowBase<Impl>, private MainWindowControls {
  Impl(HINSTANCE instance, dimming::DarknessRoad& road, display::DisplaySet& displays,
       Notices& notices, Callbacks callbacks)
      : instance_(instance),
        road_(road),
        displays_(displays),
        notices_(notices),
        callbacks_(std::move(callbacks)) {}
  ~Impl() override;
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  // Creates the window, its controls and its hotkey controls, then runs the start-up sequence.
  void Create(const settings::KeyPair& keys);

  settings::KeyPair ChangeHotkeys(const settings::KeyPair& wanted, bool tellTaken);
  settings::WindowState State() const { return StateOf(*this, road_); }
  void RestoreState(const settings::WindowState& last) {
    if (core_) app::RestoreState(*this, *core_, road_, last);
  }
  void RestoreDefaults() {
    if (core_) core_->OnRestoreClick();
  }

  void Show();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

 private:
  void TellTakenHotkeys();
  void ApplyDpi(UINT dpi);
  void PlaceAtDesign();
  void SetIcons(UINT dpi);
  void OnCommand(int id, int code);
  void OnActivate(bool active);
  void Paint();
  HWND Control(const Role& role) const { return controls_->Control(role); }

  // MainWindowControls
  int SliderValue(Slider slider) const override { return controls_->SliderFor(slider).Value(); }
  void SetSliderRange(Slider slider, int minimum, int maximum) override {
    controls_->SliderFor(slider).SetRange(minimum, maximum);
  }
  void SetSliderValue(Slider slider, int value) override {
    controls_->SliderFor(slider).SetValue(value);
  }
  void SetLabel(ValueLabel label, std::string_view text) override {
    SetWindowTextW(Control(label), platform::Utf16(text).c_str());
  }
  void ShowDarkness(int value, bool enhance, std::optional<std::string_view> label) override {
    DarknessBar().SetValue(value);
    SendMessageW(Control(ControlRole::Enhance), BM_SETCHECK, enhance ? BST_CHECKED : BST_UNCHECKED,
                 0);
    if (label) SetLabel(ValueLabel::Darkness, *label);
  }
  bool EnhanceTicked() const {
    return SendMessageW(Control(ControlRole::Enhance), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  void SetDarknessRange(int minimum, int maximum) override {
    DarknessBar().SetRange(minimum, maximum);
  }
  ScrollBarControl& DarknessBar() const { return controls_->ScrollBarFor(ControlRole::Darkness); }
  void HideWindow() override { ShowWindow(Window(), SW_HIDE); }

  HINSTANCE instance_;
  dimming::DarknessRoad& road_;
  display::DisplaySet& displays_;
  Notices& notices_;
  Callbacks callbacks_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  HWND lastFocus_ = nullptr;
  platform::UniqueIcon bigIcon_;
  platform::UniqueIcon smallIcon_;
  std::unique_ptr<FormControls> controls_;
  platform::MessageBoxDialogs dialogs_;
  platform::DirectoryFiles programFiles_;
  std::unique_ptr<MainWindow> core_;
};

MainWindowForm::Impl::~Impl() {
  // The hotkey controls first: they release their keys and their windows while the host lives.
  if (controls_) controls_->DestroyHotkeyControls();
  core_.reset();
  DestroyWindowNow();
}

void MainWindowForm::Impl::Create(const settings::KeyPair& keys) {
  // A fixed tool window: thin caption, close box only, no taskbar button, not resizable. The
  // first size and place are rough; PlaceAtDesign sets them with the window's own DPI.
  const platform::WindowClassDesign windowClass{kClassName, LoadCursorW(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
  const platform::WindowPlacement placement{WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT,
                                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                            RECT{0, 0, 100, 100}, nullptr, nullptr};
  if (CreateBoundWindow(instance_, windowClass, platform::Utf16(kMainWindowCaption).c_str(),
                        placement) == nullptr) {
    throw platform::Failure("CreateWindowExW(Form1): error " + std::to_string(GetLastError()));
  }
  dialogs_.SetOwner(Window());

  // The controls' notifications go to the core once it exists.
  FormControls::Events events;
  events.sliderScrolled = [this](Slider slider) {
    if (core_) core_->OnSliderScroll(slider);
  };
  events.sliderChanged = [this](Slider slider) {
    if (core_) core_->OnSliderChange(slider);
  };
  // The bar tells the core its value with each notification; the core never reads it back.
  events.thumbDragged = [this](ControlRole role) {
    if (core_ && role == ControlRole::Darkness) core_->OnDarknessThumbDrag(DarknessBar().Value());
  };
  events.scrollBarMoved = [this](ControlRole role) {
    if (core_ && role == ControlRole::Darkness) core_->OnDarknessMoved(DarknessBar().Value());
  };
  events.hotkeyPressed = [this](ControlRole role) {
    if (core_ && role == ControlRole::DarkerHotkey) core_->OnDarkerHotkey();
    if (core_ && role == ControlRole::BrighterHotkey) core_->OnBrighterHotkey();
  };
  controls_ = std::make_unique<FormControls>(Window(), kMainWindowDesign, std::move(events));
  // Made and placed by the system's DPI first, then again by the DPI of the monitor it landed on.
  controls_->CreateControls(platform::SystemDpi());
  ApplyDpi(platform::SystemDpi());
  PlaceAtDesign();
  const UINT windowDpi = platform::WindowDpi(Window());
  if (windowDpi != 0 && windowDpi != dpi_) {
    ApplyDpi(windowDpi);
    PlaceAtDesign();
  }
  controls_->CreateHotkeyControls();
  ChangeHotkeys(keys, false);
  TellTakenHotkeys();

  MainWindowControls& controls = *this;
  core_ = std::make_unique<MainWindow>(controls, displays_, road_, dialogs_, programFiles_);
  core_->Load();
}

// The keys go to the controls through their key writes; the banner names the keys in force.
settings::KeyPair MainWindowForm::Impl::ChangeHotkeys(const settings::KeyPair& wanted,
                                                      bool tellTaken) {
  hotkey::VBHotKey* darker = controls_->HotkeyFor(ControlRole::DarkerHotkey);
  hotkey::VBHotKey* brighter = controls_->HotkeyFor(ControlRole::BrighterHotkey);
  if (darker == nullptr || brighter == nullptr) return wanted;
  const KeysInForce keys = ChangeKeys(*darker, *brighter, wanted.darker, wanted.brighter);
  if (tellTaken && !keys.taken.empty()) notices_.Show(kNoticeTitle, keys.taken);
  for (const ControlDesign& design : kMainWindowDesign.controls) {
    if (design.font != FontRole::Banner) continue;
    SetWindowTextW(GetDlgItem(Window(), design.id),
                   platform::Utf16(BannerText(design.text, keys.darker, keys.brighter)).c_str());
  }
  return settings::KeyPair{keys.darker, keys.brighter};
}

// A combination another program holds fails silently when the hotkey controls load: the user hears
// of it once per load, in one balloon for both controls.
void MainWindowForm::Impl::TellTakenHotkeys() {
  std::string text;
  for (const hotkey::VBHotKey* control : controls_->HotkeyControls()) {
    if (std::optional<std::string> taken = HotkeyTakenNotice(*control)) {
      if (!text.empty()) text += "\n";
      text += *taken;
    }
  }
  if (!text.empty()) notices_.Show(kNoticeTitle, text);
}

// Icons, fonts and layout for a DPI; where the window stands is left to the caller.
void MainWindowForm::Impl::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  SetIcons(dpi);
  controls_->LayOut(dpi);
}

// The design's place on the screen, at creation only: a later move to a display of another DPI
// takes the place the system suggests, and a move here could send the window back across.
void MainWindowForm::Impl::PlaceAtDesign() {
  // The client area at its place and size in twips; the frame around it as this DPI draws it.
  RECT outer = PixelRectOf(kMainWindowClientTwips, dpi_);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_EXSTYLE));
  platform::AdjustWindowRectForDpi(outer, style, exStyle, dpi_);
  SetWindowPos(Window(), nullptr, outer.left, outer.top, outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindowForm::Impl::SetIcons(UINT dpi) {
  const auto load = [this, dpi](int width, int height) {
    return platform::UniqueIcon(static_cast<HICON>(LoadImageW(
        instance_, MAKEINTRESOURCEW(IDI_LUMENOR), IMAGE_ICON,
        platform::SystemMetricForDpi(width, dpi), platform::SystemMetricForDpi(height, dpi), 0)));
  };
  // The new icons are handed over before the old ones are destroyed.
  platform::UniqueIcon big = load(SM_CXICON, SM_CYICON);
  platform::UniqueIcon small = load(SM_CXSMICON, SM_CYSMICON);
  SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  bigIcon_ = std::move(big);
  smallIcon_ = std::move(small);
}

void MainWindowForm::Impl::Show() {
  ShowWindow(Window(), SW_SHOW);
  SetForegroundWindow(Window());
}

LRESULT MainWindowForm::Impl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_HSCROLL:
      if (controls_) controls_->HandleScroll(reinterpret_cast<HWND>(lParam), wParam);
      return 0;
    case WM_CTLCOLORSTATIC:
      if (controls_) {
        if (HBRUSH brush = controls_->ColourStatic(reinterpret_cast<HWND>(lParam),
                                                   reinterpret_cast<HDC>(wParam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      if (LOWORD(wParam) != WA_INACTIVE) return 0;
      break;
    case WM_DPICHANGED: {
      // Any program can post it with any lParam: a rectangle that is not there is no DPI change.
      const auto* pointer = reinterpret_cast<const RECT*>(lParam);
      if (!platform::Readable(pointer, sizeof(RECT))) return 0;
      // Only the suggested rectangle: moving anywhere else first could cross back and re-enter.
      const RECT suggested = *pointer;
      ApplyDpi(HIWORD(wParam));
      SetWindowPos(Window(), nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE: {
      // The close box unloads the window: the owner deletes this form, which ends the hotkeys,
      // releases the device context and destroys the window. Nothing of the form is used after
      // the call, which may delete it.
      ShowWindow(Window(), SW_HIDE);
      const auto unloaded = callbacks_.unloaded;
      if (unloaded) unloaded();
      return 0;
    }
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void MainWindowForm::Impl::OnCommand(int id, int code) {
  const ControlDesign* design = controls_ ? controls_->DesignOf(id) : nullptr;
  const auto* role = design != nullptr ? std::get_if<ControlRole>(&design->role) : nullptr;
  if (code != BN_CLICKED || role == nullptr || !core_) return;
  switch (*role) {
    case ControlRole::Restore:
      core_->OnRestoreClick();
      break;
    case ControlRole::Exit: {
      const auto endProgram = callbacks_.endProgram;  // may delete this form
      if (endProgram) endProgram();
      break;
    }
    case ControlRole::HideToTray:
      core_->OnHideClick();
      break;
    case ControlRole::Enhance:
      core_->OnEnhanceClick(EnhanceTicked());
      break;
    default:
      break;
  }
}

// As a dialog does: the focus leaves with the window and comes back to the same control, the
// first time to Command1.
void MainWindowForm::Impl::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Window(), focus)) lastFocus_ = focus;
    return;
  }
  const bool remembered = lastFocus_ != nullptr && IsWindow(lastFocus_);
  SetFocus(remembered ? lastFocus_ : Control(ControlRole::Restore));
}

void MainWindowForm::Impl::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Window(), &paint);
  for (const ControlDesign& design : kMainWindowDesign.controls) {
    if (design.kind == ControlKind::Picture && controls_)
      PaintWindowlessPicture(Window(), dc, controls_->PixelRect(design));
  }
  EndPaint(Window(), &paint);
}

std::unique_ptr<MainWindowForm> MainWindowForm::Load(HINSTANCE instance,
                                                     dimming::DarknessRoad& road,
                                                     display::DisplaySet& displays,
                                                     Notices& notices, Callbacks callbacks,
                                                     const settings::KeyPair& keys) {
  auto impl = std::make_unique<Impl>(instance, road, displays, notices, std::move(callbacks));
  impl->Create(keys);
  return std::unique_ptr<MainWindowForm>(new MainWindowForm(std::move(impl)));
}

MainWindowForm::MainWindowForm(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

// The hotkey controls go first, then the core, then the window (Impl's destructor).
MainWindowForm::~MainWindowForm() = default;

void MainWindowForm::Show() {
  impl_->Show();
}

HWND MainWindowForm::Window() const {
  return impl_->Window();
}

settings::KeyPair MainWindowForm::ChangeHotkeys(const settings::KeyPair& wanted) {
  return impl_->ChangeHotkeys(wanted, true);
}

settings::WindowState MainWindowForm::State() const {
  return impl_->State();
}

void MainWindowForm::RestoreState(const settings::WindowState& last) {
  impl_->RestoreState(last);
}

void MainWindowForm::RestoreDefaults() {
  impl_->RestoreDefaults();
}

}  // namespace lumenor::app
