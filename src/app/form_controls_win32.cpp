#include "app/form_controls_win32.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "platform/dpi_win32.h"
#include "platform/text_win32.h"

namespace lumenor::app {
namespace {

static_assert(kSystemColour == CLR_INVALID);
static_assert(Rgb(0x12, 0x34, 0x56) == RGB(0x12, 0x34, 0x56));

platform::UniqueFont MakeFont(const FontDesign& design, UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(design.points, static_cast<int>(dpi), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = GB2312_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  platform::Utf16(design.face).copy(font.lfFaceName, LF_FACESIZE - 1);
  return platform::UniqueFont(CreateFontIndirectW(&font));
}

// The window class and styles of each kind that is a window of its own. Every control clips its
// siblings, so one created earlier (higher in the z-order) stays on top where two overlap.
struct WindowKind {
  const wchar_t* className;
  DWORD style;
};

WindowKind WindowKindOf(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  constexpr DWORD kTabStop = WS_TABSTOP | WS_GROUP;
  switch (kind) {
    case ControlKind::Button:
      return {WC_BUTTONW, kChild | kTabStop | BS_PUSHBUTTON};
    case ControlKind::CheckBox:
      return {WC_BUTTONW, kChild | kTabStop | BS_AUTOCHECKBOX};
    case ControlKind::Frame:
      return {WC_BUTTONW, kChild | BS_GROUPBOX};
    default:
      return {WC_STATICW, kChild | SS_LEFT | SS_NOPREFIX};
  }
}

}  // namespace

RECT PixelRectOf(const TwipsRect& twips, UINT dpi) {
  const auto px = [dpi](int t) { return platform::TwipsToPixels(t, dpi); };
  return RECT{px(twips.left), px(twips.top), px(twips.left + twips.width),
              px(twips.top + twips.height)};
}

FormControls::FormControls(HWND form, const FormDesign& design, Events events)
    : form_(form), design_(design), events_(std::move(events)), made_(design_.controls.size()) {
  for (const ControlDesign& row : design_.controls) {
    if (row.backColour != kSystemColour) MadeFor(row).brush.reset(CreateSolidBrush(row.backColour));
  }
}

FormControls::~FormControls() {
  DestroyHotkeyControls();
}

RECT FormControls::PixelRect(const ControlDesign& design) const {
  TwipsRect twips = design.twips;
  if (design.inFrame) {
    twips.left += design_.frameTwips.x;
    twips.top += design_.frameTwips.y;
  }
  return PixelRectOf(twips, dpi_);
}

void FormControls::CreateControls(UINT dpi) {
  dpi_ = dpi;
  for (const ControlDesign& design : design_.controls) {
    Made& made = MadeFor(design);
    switch (design.kind) {
      case ControlKind::Picture:
      case ControlKind::Hotkey:
        break;
      case ControlKind::Slider:
        made.slider = CreateSlider(design);
        made.window = made.slider->Window();
        break;
      case ControlKind::ScrollBar:
        made.scrollBar = CreateScrollBar(design);
        made.window = made.scrollBar->Window();
        break;
      default:
        made.window = CreateWindowControl(design);
        break;
    }
  }
  // The frame below its members, which are the form's own children so that their notifications
  // come to the form.
  for (const ControlDesign& design : design_.controls) {
    if (design.kind != ControlKind::Frame) continue;
    SetWindowPos(MadeFor(design).window, HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

HWND FormControls::CreateWindowControl(const ControlDesign& design) {
  const WindowKind kind = WindowKindOf(design.kind);
  const std::wstring text = platform::Utf16(design.text);
  return CreateControlWindow(kind.className, text.c_str(), kind.style, PlaceOf(design));
}

std::unique_ptr<SliderControl> FormControls::CreateSlider(const ControlDesign& design) {
  const Slider which = std::get<Slider>(design.role);
  auto slider = std::make_unique<SliderControl>(PlaceOf(design));
  slider->onScroll = Raise(&Events::sliderScrolled, which);
  slider->onChange = Raise(&Events::sliderChanged, which);
  return slider;
}

std::unique_ptr<ScrollBarControl> FormControls::CreateScrollBar(const ControlDesign& design) {
  const ControlRole role = std::get<ControlRole>(design.role);
  auto bar = std::make_unique<ScrollBarControl>(PlaceOf(design));
  bar->onThumbDrag = Raise(&Events::thumbDragged, role);
  bar->onMove = Raise(&Events::scrollBarMoved, role);
  return bar;
}

void FormControls::CreateHotkeyControls() {
  for (const ControlDesign& design : design_.controls) {
    if (design.kind != ControlKind::Hotkey) continue;
    const RECT r = PixelRect(design);
    const ControlRole role = std::get<ControlRole>(design.role);
    Made& made = MadeFor(design);
    made.hotkey = std::make_unique<hotkey::HotkeyControlWindow>(
        form_, POINT{r.left, r.top}, design.storedProperties,
        hotkey::HotkeyControlWindow::Events{Raise(&Events::hotkeyPressed, role), {}});
    made.window = made.hotkey->Window();
  }
}

void FormControls::DestroyHotkeyControls() {
  for (Made& made : made_) {
    if (!made.hotkey) continue;
    made.hotkey.reset();
    made.window = nullptr;
  }
}

std::vector<const hotkey::VBHotKey*> FormControls::HotkeyControls() const {
  std::vector<const hotkey::VBHotKey*> controls;
  for (const Made& made : made_) {
    if (made.hotkey) controls.push_back(&made.hotkey->Control());
  }
  return controls;
}

hotkey::VBHotKey* FormControls::HotkeyFor(ControlRole role) {
  const Made* made = MadeFor(role);
  return made != nullptr && made->hotkey ? &made->hotkey->Control() : nullptr;
}

void FormControls::LayOut(UINT dpi) {
  dpi_ = dpi;
  // The new fonts go to every control before the old ones, which they may still use, are deleted.
  std::array<platform::UniqueFont, kFontRoles> fonts;
  for (std::size_t role = 0; role < fonts.size(); ++role)
    fonts[role] = MakeFont(design_.fonts[role], dpi);
  SendMessageW(form_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[0].get()), FALSE);
  for (const ControlDesign& design : design_.controls) {
    HWND control = MadeFor(design).window;
    if (control == nullptr) continue;
    const RECT r = PixelRect(design);
    // A hotkey control keeps the size it gives itself.
    const bool isHotkey = design.kind == ControlKind::Hotkey;
    const UINT sizing = isHotkey ? SWP_NOSIZE : 0;
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 sizing | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!isHotkey) {
      const HFONT font = fonts[static_cast<std::size_t>(design.font)].get();
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
  }
  fonts_ = std::move(fonts);
  InvalidateRect(form_, nullptr, TRUE);
}

const FormControls::Made* FormControls::MadeFor(const Role& role) const {
  if (role == Role{ControlRole::None}) return nullptr;
  for (std::size_t row = 0; row < design_.controls.size(); ++row) {
    if (design_.controls[row].role == role) return &made_[row];
  }
  return nullptr;
}

HWND FormControls::Control(const Role& role) const {
  const Made* made = MadeFor(role);
  return made != nullptr ? made->window : nullptr;
}

SliderControl& FormControls::SliderFor(Slider slider) const {
  return *MadeFor(slider)->slider;
}

ScrollBarControl& FormControls::ScrollBarFor(ControlRole role) const {
  return *MadeFor(role)->scrollBar;
}

void FormControls::HandleScroll(HWND control, WPARAM wParam) {
  const ControlDesign* design = DesignOf(control);
  if (design == nullptr) return;
  const Made& made = MadeFor(*design);
  if (made.slider) made.slider->HandleScroll(wParam);
  if (made.scrollBar) made.scrollBar->HandleScroll(wParam);
}

const ControlDesign* FormControls::DesignOf(int id) const {
  // Pictures and hotkey controls are no windows with an id of their own.
  for (const ControlDesign& design : design_.controls) {
    const bool window = design.kind != ControlKind::Picture && design.kind != ControlKind::Hotkey;
    if (window && design.id == id) return &design;
  }
  return nullptr;
}

const ControlDesign* FormControls::DesignOf(HWND control) const {
  return control != nullptr && GetParent(control) == form_ ? DesignOf(GetDlgCtrlID(control))
                                                           : nullptr;
}

HBRUSH FormControls::ColourStatic(HWND control, HDC dc) const {
  const ControlDesign* design = DesignOf(control);
  if (design == nullptr || design->backColour == kSystemColour) return nullptr;
  if (design->textColour != kSystemColour) SetTextColor(dc, design->textColour);
  SetBkColor(dc, design->backColour);
  return made_[design - design_.controls.data()].brush.get();
}

}  // namespace lumenor::app
