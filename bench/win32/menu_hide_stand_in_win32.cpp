// A stand-in that answers whose the delay is between a menu's Return and a layered window gone
// from the composited picture, with none of lumenor.exe's code: a black layered topmost
// click-through window at alpha 128 over 400×300 pixels at the top of the screen (or the left
// edge, width and height given after the mode), and a popup menu opened
// from a window the way the tray form opens its own (SetForegroundWindow, TrackPopupMenu
// with TPM_RETURNCMD, WM_NULL after). Its one item hides the layer:
//   menu-hide    the item's Return hides it with ShowWindow(SW_HIDE), as the overlay does
//   menu-alpha   the item's Return sets its alpha to 0 and leaves it shown
//   menu-clear   the item's Return sets its alpha to 0, then hides it with ShowWindow(SW_HIDE)
//   menu-shrink  the item's Return makes it one pixel, then hides it with ShowWindow(SW_HIDE)
//   hotkey-hide  no menu: Ctrl+Left hides it with ShowWindow(SW_HIDE)
// It opens the menu at (700, 500) one second after it starts (the menu modes), writes "open" to
// its standard output then, and "hidden <ms>" with the time spent in the hide call once it hid.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr wchar_t kLayerClass[] = L"LumenorMenuHideLayer";
constexpr wchar_t kOwnerClass[] = L"LumenorMenuHideOwner";
constexpr UINT_PTR kOpenTimer = 1;
constexpr UINT kHideItem = 1;
constexpr int kHotkey = 1;

enum class Mode { MenuHide, MenuAlpha, MenuClear, MenuShrink, HotkeyHide };
Mode mode = Mode::MenuHide;
HWND layer = nullptr;

void Hide() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER start;
  LARGE_INTEGER end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (mode == Mode::MenuAlpha || mode == Mode::MenuClear)
    SetLayeredWindowAttributes(layer, 0, 0, LWA_ALPHA);
  if (mode == Mode::MenuShrink)
    SetWindowPos(layer, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (mode != Mode::MenuAlpha) ShowWindow(layer, SW_HIDE);
  QueryPerformanceCounter(&end);
  std::printf("hidden %.3f\n", static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                                   static_cast<double>(frequency.QuadPart));
  std::fflush(stdout);
}

LRESULT CALLBACK OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kOpenTimer) {
    KillTimer(window, kOpenTimer);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kHideItem, L"Hide");
    SetForegroundWindow(window);
    std::printf("open\n");
    std::fflush(stdout);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, 700,
                       500, 0, window, nullptr));
    PostMessageW(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen == kHideItem) Hide();
    return 0;
  }
  if (message == WM_HOTKEY && wParam == kHotkey) {
    Hide();
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && std::wcscmp(argv[1], L"menu-alpha") == 0) mode = Mode::MenuAlpha;
  if (argc > 1 && std::wcscmp(argv[1], L"menu-clear") == 0) mode = Mode::MenuClear;
  if (argc > 1 && std::wcscmp(argv[1], L"menu-shrink") == 0) mode = Mode::MenuShrink;
  if (argc > 1 && std::wcscmp(argv[1], L"hotkey-hide") == 0) mode = Mode::HotkeyHide;
  const int left =
      argc > 2 ? _wtoi(argv[2]) : 0;  // the layer's left edge: 1280 on a second display
  const int width = argc > 3 ? _wtoi(argv[3]) : 400;
  const int height = argc > 4 ? _wtoi(argv[4]) : 300;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW layerClass{};
  layerClass.lpfnWndProc = DefWindowProcW;
  layerClass.hInstance = instance;
  layerClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  layerClass.lpszClassName = kLayerClass;
  RegisterClassW(&layerClass);
  WNDCLASSW ownerClass{};
  ownerClass.lpfnWndProc = OwnerProcedure;
  ownerClass.hInstance = instance;
  ownerClass.lpszClassName = kOwnerClass;
  RegisterClassW(&ownerClass);

  // "late" after the size: made layered, click-through and topmost after its creation, as the
  // overlay is, instead of created so.
  const bool late = argc > 5 && std::wcscmp(argv[5], L"late") == 0;
  constexpr DWORD kLayered = WS_EX_LAYERED | WS_EX_TRANSPARENT;
  layer = CreateWindowExW(
      (late ? 0 : kLayered | WS_EX_TOPMOST) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kLayerClass,
      L"layer", WS_POPUP, left, 0, width, height, nullptr, nullptr, instance, nullptr);
  if (late)
    SetWindowLongW(
        layer, GWL_EXSTYLE,
        static_cast<LONG>(static_cast<DWORD>(GetWindowLongW(layer, GWL_EXSTYLE)) | kLayered));
  SetLayeredWindowAttributes(layer, 0, 128, LWA_ALPHA);
  ShowWindow(layer, SW_SHOWNOACTIVATE);
  if (late) SetWindowPos(layer, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Shown and active, as the main window is in the scenarios: under Wine the keys reach the
  // program's hotkeys and menus only while one of its windows has the X focus.
  HWND owner = CreateWindowExW(0, kOwnerClass, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 300,
                               300, 150, nullptr, nullptr, instance, nullptr);
  SetForegroundWindow(owner);
  if (mode == Mode::HotkeyHide)
    RegisterHotKey(owner, kHotkey, MOD_CONTROL, VK_LEFT);
  else
    SetTimer(owner, kOpenTimer, 1000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
