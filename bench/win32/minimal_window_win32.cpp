// The floor for bench/footprint: a minimal C++ Win32 program with one window and one message loop,
// compiled and linked exactly like lumenor.exe (static runtime, same flags, same manifest), so
// every figure of lumenor.exe can be read against what any such program costs.
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <type_traits>

namespace {

constexpr wchar_t kClassName[] = L"LumenorMinimalWindow";
constexpr wchar_t kCaption[] = L"Lumenor minimal window";

struct WindowDestroyer {
  void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

UniqueWindow CreateMainWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (RegisterClassExW(&windowClass) == 0) throw std::runtime_error("RegisterClassExW failed");
  // The size of lumenor.exe's main window, so both programs draw the same area.
  UniqueWindow window(CreateWindowExW(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 426, 432, nullptr, nullptr, instance,
                                      nullptr));
  if (!window) throw std::runtime_error("CreateWindowExW failed");
  return window;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  UniqueWindow window = CreateMainWindow(instance);
  ShowWindow(window.get(), show);
  UpdateWindow(window.get());
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // WM_DESTROY has run: the holder must not destroy the window a second time.
  window.release();
  return static_cast<int>(msg.wParam);
}
