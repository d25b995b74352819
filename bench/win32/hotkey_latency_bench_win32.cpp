// How long one Ctrl + Left arrow takes inside the program: from WM_HOTKEY posted to the left
// hotkey control's window, through the subclassed window procedure, the control's HotkeyPressed and
// StepDarker, to the new layered attributes of the overlay on every display attached. Beside it,
// the same count of plain messages
// posted to a window that does nothing, which is the floor the message loop itself sets.
//
// usage: lumenor_hotkey_latency [events per burst, default 2000] [bursts, default 5]
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "app/hotkey_steps.h"
#include "app/main_window_design.h"
#include "display/display_set.h"
#include "hotkey/hotkey_control_win32.h"
#include "overlay/overlay_set.h"
#include "overlay/overlay_window_win32.h"
#include "platform/displays_win32.h"
#include "platform/notices.h"
#include "platform/timer.h"

namespace {

using lumenor::app::DarknessStepTarget;

double Microseconds(LONGLONG ticks) {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency);
}

LONGLONG Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

// The darkness bar and check box the main window would give StepDarker, wired to the real overlay
// as the main window's update is: the value goes to the overlay only while it shows. When the bar
// reaches -255 it is put back to 255, so a long burst keeps changing the opacity and crosses from
// white to black every 103 events instead of resting at the end.
class BenchTarget final : public DarknessStepTarget {
 public:
  explicit BenchTarget(lumenor::overlay::OverlayControl& overlay) : overlay_(overlay) {}

  int DarknessValue() const override { return value_; }
  int DarknessMinimum() const override { return -255; }
  int DarknessMaximum() const override { return 255; }
  void SetDarknessValue(int value) override { value_ = value; }
  void TickEnhance() override {
    if (ticked_) return;
    ticked_ = true;
    overlay_.Show();
  }
  void RunDarknessUpdate() override {
    if (!detached && ticked_)
      overlay_.ApplyDarkness(static_cast<std::int16_t>(value_));
  }

  void Step() {
    lumenor::app::StepDarker(*this);
    if (value_ == -255) value_ = 255;
    ++steps;
  }
  int Value() const { return value_; }

  long steps = 0;
  bool detached = false;  // true: the update leaves the overlay alone

 private:
  lumenor::overlay::OverlayControl& overlay_;
  int value_ = -121;
  bool ticked_ = false;
};

// The display set's timer and balloons, which a hotkey step never uses.
class NoTimer final : public lumenor::platform::Timer {
 public:
  void Start(unsigned) override {}
  void Stop() override {}
};
class NoNotices final : public lumenor::platform::Notices {
 public:
  void Show(std::string_view, std::string_view) override {}
};

// The plain window counts its messages (the counter hangs on GWLP_USERDATA) and does nothing else.
LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) {
    if (auto* count = reinterpret_cast<long*>(GetWindowLongPtrW(window, GWLP_USERDATA))) ++*count;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(HINSTANCE instance, const wchar_t* className, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.lpszClassName = className;
  RegisterClassExW(&wc);
  return CreateWindowExW(0, className, className, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                         nullptr, instance, nullptr);
}

// Dispatches queued messages until done() holds.
void PumpUntil(const std::function<bool()>& done) {
  MSG msg;
  while (!done() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Posts count messages in one go and dispatches until the last has been handled; returns the
// whole burst's time.
LONGLONG Burst(HWND to, UINT message, WPARAM wParam, LPARAM lParam, long count,
               const long& handled) {
  const long target = handled + count;
  const LONGLONG start = Now();
  for (long i = 0; i < count; ++i) PostMessageW(to, message, wParam, lParam);
  PumpUntil([&] { return handled >= target; });
  return Now() - start;
}

// One message at a time: post, dispatch until handled; returns each round trip.
std::vector<double> OneByOne(HWND to, UINT message, WPARAM wParam, LPARAM lParam, long count,
                             const long& handled) {
  std::vector<double> times;
  times.reserve(static_cast<std::size_t>(count));
  for (long i = 0; i < count; ++i) {
    const long target = handled + 1;
    const LONGLONG start = Now();
    PostMessageW(to, message, wParam, lParam);
    PumpUntil([&] { return handled >= target; });
    times.push_back(Microseconds(Now() - start));
  }
  std::sort(times.begin(), times.end());
  return times;
}

double Percentile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return 0;
  const auto index = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1));
  return sorted[index];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const long events = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 2000;
  const int bursts = argc > 2 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 5;
  if (events <= 0 || bursts <= 0) {
    std::fprintf(stderr, "usage: lumenor_hotkey_latency [events] [bursts]\n");
    return 2;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);

  HWND host = MakeWindow(instance, L"LumenorBenchHost", DefWindowProcW);
  HWND plain = MakeWindow(instance, L"LumenorBenchPlain", PlainWindowProc);
  long plainMessages = 0;
  SetWindowLongPtrW(plain, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&plainMessages));
  // The overlays as the program has them: one per display attached, following the display set.
  lumenor::overlay::OverlayWindows windows(instance);
  // No display comes during a burst: a window made later would take the look made at creation.
  lumenor::overlay::OverlaySet overlay(windows, [] { return lumenor::overlay::OverlayLook{}; });
  lumenor::platform::Win32Displays system;
  NoTimer timer;
  NoNotices notices;
  lumenor::display::DisplaySet displays(system, timer, notices, overlay);
  BenchTarget target(overlay);
  lumenor::hotkey::HotkeyControlWindow control(
      host, POINT{0, 0}, std::span<const std::uint8_t>(lumenor::app::kHotkeyLeftProperties),
      {[&target] { target.Step(); }, {}});

  // What the system posts for Ctrl + Left arrow: the registration's identifier (the atom named
  // after the combination) and the key code over the modifier flags.
  const WPARAM hotkeyId = GlobalFindAtomW(L"CONTROL+037");
  const LPARAM hotkeyKeys = MAKELPARAM(MOD_CONTROL, VK_LEFT);
  HWND hotkeyWindow = control.Window();
  if (hotkeyId == 0) std::fprintf(stderr, "note: no atom CONTROL+037 (registration failed?)\n");

  // Warm up both paths; the first hotkey event also shows the overlay.
  Burst(hotkeyWindow, WM_HOTKEY, hotkeyId, hotkeyKeys, 200, target.steps);
  Burst(plain, WM_APP, 0, 0, 200, plainMessages);
  if (target.steps != 200) {
    std::fprintf(stderr, "the hotkey control did not raise HotkeyPressed (%ld of 200)\n",
                 target.steps);
    return 1;
  }

  std::printf("displays attached: %zu (overlay windows: %zu)\n", displays.Count(),
              overlay.WindowCount());
  std::printf("bursts of %ld events, %d bursts each, alternating\n", events, bursts);
  std::printf("%-6s %14s %14s %8s\n", "burst", "hotkey us/ev", "plain us/ev", "ratio");
  double hotkeyTotal = 0, plainTotal = 0;
  for (int b = 1; b <= bursts; ++b) {
    const double h =
        Microseconds(Burst(hotkeyWindow, WM_HOTKEY, hotkeyId, hotkeyKeys, events, target.steps)) /
        static_cast<double>(events);
    const double p = Microseconds(Burst(plain, WM_APP, 0, 0, events, plainMessages)) /
                     static_cast<double>(events);
    hotkeyTotal += h;
    plainTotal += p;
    std::printf("%-6d %14.2f %14.2f %8.1f\n", b, h, p, h / p);
  }
  const double h = hotkeyTotal / bursts, p = plainTotal / bursts;
  std::printf("%-6s %14.2f %14.2f %8.1f\n", "mean", h, p, h / p);

  // One event at a time: post, then dispatch until it has been handled.
  const std::vector<double> hotkeyOne =
      OneByOne(hotkeyWindow, WM_HOTKEY, hotkeyId, hotkeyKeys, events, target.steps);
  const std::vector<double> plainOne = OneByOne(plain, WM_APP, 0, 0, events, plainMessages);
  std::printf(
      "one at a time, %ld events: hotkey median %.2f us (p99 %.2f), plain median %.2f us "
      "(p99 %.2f), ratio of medians %.1f\n",
      events, Percentile(hotkeyOne, 0.5), Percentile(hotkeyOne, 0.99), Percentile(plainOne, 0.5),
      Percentile(plainOne, 0.99), Percentile(hotkeyOne, 0.5) / Percentile(plainOne, 0.5));

  // The overlay holds what the last step applied.
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  GetLayeredWindowAttributes(FindWindowW(L"mask_form_black", nullptr), &key, &alpha, &flags);
  std::printf("overlay after %ld steps: bar %d, alpha %u, key 0x%lx, flags %lu, showing %d\n",
              target.steps, target.Value(), alpha, static_cast<unsigned long>(key),
              static_cast<unsigned long>(flags), overlay.IsShowing() ? 1 : 0);

  // Where the hotkey's time goes: the overlay's part alone, called directly with the values a
  // burst applies, and the rest of the road (message, dispatch, control, step) with the overlay's
  // calls left out.
  {
    const LONGLONG start = Now();
    int value = 255;
    for (long i = 0; i < events; ++i) {
      value = value - 5 <= -255 ? 255 : value - 5;
      if (overlay.IsShowing()) overlay.ApplyDarkness(static_cast<std::int16_t>(value));
    }
    const double applyOnly = Microseconds(Now() - start) / static_cast<double>(events);
    target.detached = true;
    const double withoutOverlay =
        Microseconds(Burst(hotkeyWindow, WM_HOTKEY, hotkeyId, hotkeyKeys, events, target.steps)) /
        static_cast<double>(events);
    target.detached = false;
    std::printf(
        "of which: overlay update alone %.2f us/ev; hotkey road without the overlay "
        "%.2f us/ev\n",
        applyOnly, withoutOverlay);
  }

  DestroyWindow(plain);
  return 0;
}
