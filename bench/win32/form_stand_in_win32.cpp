// A stand-in for lumenor.exe in the long run, with none of its code: a form of the main window's
// size with the same kinds of windows (five msctls_trackbar32, a scroll bar, three buttons, a check
// box, a group box, statics on coloured brushes, two hidden children, a picture drawn with GDI
// through a one-pixel DIB section, the fonts "微软雅黑" and "宋体"), a layered topmost
// click-through window per display that follows the displays on a 5 s tick, a notification icon
// whose menu's second item shows the form, and Ctrl+Left / Ctrl+Right hotkeys that step the
// layers' alpha. The close box destroys the form and the menu makes a new one, as lumenor.exe
// unloads and loads its main window. Whatever memory Wine keeps for this program under the long
// run's cycles, it keeps for lumenor.exe too (bench/stand-in-cycles measures it).
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <shellapi.h>

#include <iterator>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

constexpr wchar_t kTrayClass[] = L"LumenorStandInTray";
constexpr wchar_t kFormClass[] = L"LumenorStandInForm";
constexpr wchar_t kLayerClass[] = L"LumenorStandInLayer";
constexpr wchar_t kPlainClass[] = L"LumenorStandInPlain";
constexpr wchar_t kCaption[] = L"Lumenor stand-in";
constexpr UINT kIconMessage = WM_APP + 1;
constexpr UINT kDestroyForm = WM_APP + 2;
constexpr UINT_PTR kTickTimer = 1;  // re-asserts topmost and follows the displays, every 5 s

template <class H, auto Release>
struct Releaser {
  void operator()(H h) const noexcept { Release(h); }
};
template <class H, auto Release>
using Unique = std::unique_ptr<std::remove_pointer_t<H>, Releaser<H, Release>>;
BOOL DeleteGdi(HGDIOBJ o) {
  return DeleteObject(o);
}
using UniqueWindow = Unique<HWND, DestroyWindow>;
using UniqueGdi = Unique<HGDIOBJ, DeleteGdi>;
using UniqueDc = Unique<HDC, DeleteDC>;
using UniqueMenu = Unique<HMENU, DestroyMenu>;

HINSTANCE instance;
HWND tray;
UniqueWindow form;
std::vector<UniqueWindow> layers;
std::vector<UniqueGdi> formObjects;  // the form's fonts and brushes, made per form
int darkness = -126;

struct Child {
  const wchar_t* cls;
  const wchar_t* text;
  DWORD style;
  RECT r;  // left, top, width, height in pixels
  int font;
  COLORREF back;  // CLR_INVALID: the system's
};
constexpr COLORREF kNone = CLR_INVALID;
// clang-format off
const Child kChildren[] = {
    {WC_BUTTONW, L"恢复默认", BS_PUSHBUTTON | WS_TABSTOP, {249, 313, 80, 34}, 0, kNone},
    {WC_BUTTONW, L"退    出", BS_PUSHBUTTON | WS_TABSTOP, {332, 313, 80, 34}, 0, kNone},
    {WC_BUTTONW, L"色相调整", BS_GROUPBOX, {19, 126, 388, 169}, 0, kNone},
    {TRACKBAR_CLASSW, L"", TBS_AUTOTICKS | WS_TABSTOP, {52, 150, 342, 33}, 0, kNone},
    {WC_STATICW, L"红", SS_LEFT, {35, 156, 12, 17}, 0, RGB(255, 192, 192)},
    {WC_STATICW, L"绿", SS_LEFT, {35, 206, 12, 17}, 0, RGB(192, 255, 192)},
    {WC_STATICW, L"蓝", SS_LEFT, {35, 251, 12, 17}, 0, RGB(128, 128, 255)},
    {TRACKBAR_CLASSW, L"", TBS_AUTOTICKS | WS_TABSTOP, {52, 197, 340, 33}, 0, kNone},
    {TRACKBAR_CLASSW, L"", TBS_AUTOTICKS | WS_TABSTOP, {52, 244, 341, 33}, 0, kNone},
    {WC_SCROLLBARW, L"", SBS_HORZ | WS_TABSTOP, {99, 61, 303, 18}, 0, kNone},
    {TRACKBAR_CLASSW, L"", TBS_AUTOTICKS | WS_TABSTOP, {89, 17, 321, 28}, 0, kNone},
    {WC_STATICW, L"0", SS_LEFT, {69, 24, 27, 17}, 0, kNone},
    {WC_STATICW, L"亮度:", SS_LEFT, {16, 22, 32, 16}, 0, kNone},
    {TRACKBAR_CLASSW, L"", TBS_AUTOTICKS | WS_TABSTOP, {92, 91, 316, 25}, 0, kNone},
    {WC_STATICW, L"0", SS_LEFT, {69, 91, 29, 17}, 0, kNone},
    {WC_STATICW, L"对比度:", SS_LEFT, {16, 91, 48, 22}, 0, kNone},
    {WC_STATICW, L"-126", SS_LEFT, {68, 59, 28, 17}, 0, kNone},
    {WC_BUTTONW, L"加强:", BS_AUTOCHECKBOX | WS_TABSTOP, {16, 55, 50, 27}, 1, kNone},
    {WC_STATICW, L"按住ctrl+←变黑,按住ctrl+→变亮.", SS_LEFT, {-1, 350, 422, 51}, 2, RGB(0, 0, 0)},
    {WC_BUTTONW, L"小到托盘", BS_PUSHBUTTON | WS_TABSTOP, {154, 314, 89, 33}, 0, kNone},
    {kPlainClass, L"", 0, {409, 91, 30, 30}, 0, kNone},  // windowless: not visible
    {kPlainClass, L"", 0, {404, 13, 30, 30}, 0, kNone},
};
// clang-format on
constexpr int kDarknessBar = 9, kDarknessLabel = 16;
constexpr const wchar_t* kFaces[] = {L"微软雅黑", L"宋体", L"微软雅黑"};
constexpr int kPoints[] = {9, 9, 12};

HWND ChildAt(int index) {
  return GetDlgItem(form.get(), 1000 + index);
}

void FillWith(HDC dc, const RECT& r, COLORREF colour) {
  const UniqueGdi brush(CreateSolidBrush(colour));
  FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

// A sky gradient, a glow blended through a one-pixel DIB section, a sun and a row of hills.
void PaintPicture(HDC dc) {
  const RECT t{-228, 218, 154, 536};
  TRIVERTEX v[] = {{t.left, t.top, 0x1200, 0x1a00, 0x4a00, 0},
                   {t.right, 400, 0xff00, 0xaa00, 0x5a00, 0}};
  GRADIENT_RECT band{0, 1};
  GdiGradientFill(dc, v, 2, &band, 1, GRADIENT_FILL_RECT_V);
  FillWith(dc, RECT{t.left, 400, t.right, t.bottom}, RGB(255, 170, 90));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = info.bmiHeader.biHeight = info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const UniqueDc source(CreateCompatibleDC(dc));
  const UniqueGdi pixel(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (source && pixel && bits != nullptr) {
    *static_cast<DWORD*>(bits) = 0xffe6a0;
    const HGDIOBJ previous = SelectObject(source.get(), pixel.get());
    for (int radius = 90; radius > 27; radius -= 3) {
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, 24, 0};
      GdiAlphaBlend(dc, 100 - radius, 330 - radius, 2 * radius, 2 * radius, source.get(), 0, 0, 1,
                    1, blend);
    }
    SelectObject(source.get(), previous);
  }
  const UniqueGdi sun(CreateSolidBrush(RGB(255, 240, 190)));
  const HGDIOBJ previous = SelectObject(dc, sun.get());
  Ellipse(dc, 73, 303, 127, 357);
  POINT hill[] = {{t.left, 470},  {-60, 440},          {60, 480},
                  {t.right, 450}, {t.right, t.bottom}, {t.left, t.bottom}};
  Polygon(dc, hill, 6);
  SelectObject(dc, previous);
}

void SetDarkness(int value) {
  darkness = value < -255 ? -255 : value > 255 ? 255 : value;
  if (form) {
    SetScrollPos(ChildAt(kDarknessBar), SB_CTL, darkness, TRUE);
    SetWindowTextW(ChildAt(kDarknessLabel), std::to_wstring(darkness).c_str());
  }
  const BYTE alpha = static_cast<BYTE>(darkness < 0 ? -darkness : darkness);
  for (const UniqueWindow& layer : layers)
    SetLayeredWindowAttributes(layer.get(), 0, alpha, LWA_ALPHA);
}

BOOL CALLBACK AddLayer(HMONITOR, HDC, LPRECT r, LPARAM) {
  layers.emplace_back(CreateWindowExW(
      WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
      kLayerClass, L"layer", WS_POPUP, r->left, r->top, r->right - r->left, r->bottom - r->top,
      nullptr, nullptr, instance, nullptr));
  return TRUE;
}

// One layer per display, made again when the displays change.
void FollowDisplays() {
  const int count = GetSystemMetrics(SM_CMONITORS);
  if (count == static_cast<int>(layers.size())) {
    for (const UniqueWindow& layer : layers)
      SetWindowPos(layer.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  layers.clear();
  EnumDisplayMonitors(nullptr, nullptr, AddLayer, 0);
  SetDarkness(darkness);
  for (const UniqueWindow& layer : layers) ShowWindow(layer.get(), SW_SHOWNOACTIVATE);
}

void MakeForm() {
  const RECT client{345, 104, 345 + 420, 104 + 410};
  RECT outer = client;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRectEx(&outer, style, FALSE, WS_EX_TOOLWINDOW);
  form.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kFormClass, kCaption,
                             style | WS_CLIPCHILDREN, outer.left, outer.top,
                             outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                             instance, nullptr));
  HFONT fonts[3];
  for (int k = 0; k < 3; ++k) {
    formObjects.emplace_back(CreateFontW(-MulDiv(kPoints[k], 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                         GB2312_CHARSET, 0, 0, 0, 0, kFaces[k]));
    fonts[k] = static_cast<HFONT>(formObjects.back().get());
  }
  for (int k = 0; k < static_cast<int>(std::size(kChildren)); ++k) {
    const Child& c = kChildren[k];
    const DWORD visible = lstrcmpW(c.cls, kPlainClass) == 0 ? 0 : WS_VISIBLE;
    HWND w = CreateWindowExW(
        0, c.cls, c.text, WS_CHILD | visible | c.style, c.r.left, c.r.top, c.r.right, c.r.bottom,
        form.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + k)), instance, nullptr);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[c.font]), FALSE);
    if (lstrcmpW(c.cls, TRACKBAR_CLASSW) == 0) {
      SendMessageW(w, TBM_SETRANGEMIN, FALSE, -50);
      SendMessageW(w, TBM_SETRANGEMAX, FALSE, 50);
      SendMessageW(w, TBM_SETTICFREQ, 10, 0);
    }
    if (c.back != kNone) formObjects.emplace_back(CreateSolidBrush(c.back));
  }
  SetScrollRange(ChildAt(kDarknessBar), SB_CTL, -255, 255, FALSE);
  SetDarkness(darkness);
  RegisterHotKey(form.get(), 1, MOD_CONTROL, VK_LEFT);
  RegisterHotKey(form.get(), 2, MOD_CONTROL, VK_RIGHT);
}

LRESULT CALLBACK FormProc(HWND w, UINT message, WPARAM wp, LPARAM lp) noexcept {
  switch (message) {
    case WM_HOTKEY:
      SetDarkness(darkness + (wp == 1 ? -5 : 5));
      return 0;
    case WM_HSCROLL:
      return 0;
    case WM_CTLCOLORSTATIC: {
      // The coloured statics' brushes follow the fonts in formObjects, in the table's order.
      size_t brush = 3;
      for (int k = 0; k < static_cast<int>(std::size(kChildren)); ++k) {
        if (kChildren[k].back == kNone) continue;
        if (reinterpret_cast<HWND>(lp) == ChildAt(k)) {
          SetBkColor(reinterpret_cast<HDC>(wp), kChildren[k].back);
          if (kChildren[k].back == RGB(0, 0, 0))
            SetTextColor(reinterpret_cast<HDC>(wp), RGB(255, 255, 0));
          return reinterpret_cast<LRESULT>(formObjects[brush].get());
        }
        ++brush;
      }
      break;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      PaintPicture(dc);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_CLOSE:
      ShowWindow(w, SW_HIDE);
      PostMessageW(tray, kDestroyForm, 0, 0);
      return 0;
    case WM_DESTROY:
      UnregisterHotKey(w, 1);
      UnregisterHotKey(w, 2);
      return 0;
  }
  return DefWindowProcW(w, message, wp, lp);
}

LRESULT CALLBACK LayerProc(HWND w, UINT message, WPARAM wp, LPARAM lp) noexcept {
  if (message == WM_NCHITTEST) return HTTRANSPARENT;
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(w, &ps);
    return 0;
  }
  return DefWindowProcW(w, message, wp, lp);
}

LRESULT CALLBACK TrayProc(HWND w, UINT message, WPARAM wp, LPARAM lp) noexcept {
  switch (message) {
    case kIconMessage:
      if (LOWORD(lp) == WM_RBUTTONUP) {
        const UniqueMenu menu(CreatePopupMenu());
        AppendMenuW(menu.get(), MF_STRING, 1, L"About");
        AppendMenuW(menu.get(), MF_STRING, 2, L"Show");
        AppendMenuW(menu.get(), MF_STRING, 3, L"Exit");
        POINT at;
        GetCursorPos(&at);
        SetForegroundWindow(w);
        const UINT chosen =
            TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, w, nullptr);
        if (chosen == 2) {
          if (!form) MakeForm();
          ShowWindow(form.get(), SW_SHOW);
          SetForegroundWindow(form.get());
        }
        if (chosen == 3) PostQuitMessage(0);
      }
      return 0;
    case kDestroyForm:
      form.reset();
      formObjects.clear();
      return 0;
    case WM_TIMER:
      FollowDisplays();
      return 0;
  }
  return DefWindowProcW(w, message, wp, lp);
}

void Register(const wchar_t* name, WNDPROC proc, HBRUSH background) {
  WNDCLASSEXW c{};
  c.cbSize = sizeof(c);
  c.lpfnWndProc = proc;
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  c.hbrBackground = background;
  c.lpszClassName = name;
  RegisterClassExW(&c);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE self, HINSTANCE, PWSTR, int) {
  instance = self;
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  Register(kTrayClass, TrayProc, nullptr);
  Register(kFormClass, FormProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  Register(kLayerClass, LayerProc, nullptr);
  Register(kPlainClass, DefWindowProcW, nullptr);
  const UniqueWindow trayWindow(CreateWindowExW(0, kTrayClass, L"stand-in tray", WS_POPUP, 0, 0, 0,
                                                0, nullptr, nullptr, instance, nullptr));
  tray = trayWindow.get();
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof(icon);
  icon.hWnd = tray;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  icon.uCallbackMessage = kIconMessage;
  icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(icon.szTip, kCaption, ARRAYSIZE(icon.szTip));
  Shell_NotifyIconW(NIM_ADD, &icon);
  FollowDisplays();
  SetTimer(tray, kTickTimer, 5000, nullptr);
  MakeForm();
  ShowWindow(form.get(), SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form && IsDialogMessageW(form.get(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  Shell_NotifyIconW(NIM_DELETE, &icon);
  form.reset();
  layers.clear();
  return 0;
}
