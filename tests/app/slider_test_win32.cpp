// The slider wrapper over a real trackbar under Wine: which of its two notifications come, in
// which order, and with which value; and the scroll bar wrapper's moves over a real scroll bar.
#include "app/slider_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/scroll_bar_win32.h"

namespace lumenor::app {
namespace {

constexpr int kSliderId = 100;

// A plain parent window that hands its trackbar's WM_HSCROLL to the wrapper, as Form1 does.
class SliderHost {
 public:
  SliderHost() {
    INITCOMMONCONTROLSEX common{static_cast<DWORD>(sizeof(common)), ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &SliderHost::Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LumenorSliderTestHost";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                              100, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    slider = std::make_unique<SliderControl>(
        SliderControl::CreateArgs{window_, kSliderId, RECT{0, 0, 320, 30}});
    slider->onScroll = [this] { events.push_back("scroll " + std::to_string(slider->Value())); };
    slider->onChange = [this] { events.push_back("change " + std::to_string(slider->Value())); };
  }
  ~SliderHost() {
    slider.reset();
    DestroyWindow(window_);
  }
  SliderHost(const SliderHost&) = delete;
  SliderHost& operator=(const SliderHost&) = delete;

  HWND Window() const { return window_; }

  // A key as the user presses it on the focused trackbar.
  void Key(WPARAM key) {
    SendMessageW(slider->Window(), WM_KEYDOWN, key, 0);
    SendMessageW(slider->Window(), WM_KEYUP, key, 0);
  }
  // A notification as the trackbar sends it while its thumb is dragged: the thumb has moved
  // already when it comes.
  void Notify(int code, int position) {
    SendMessageW(slider->Window(), TBM_SETPOS, TRUE, position);
    SendMessageW(window_, WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)),
                 reinterpret_cast<LPARAM>(slider->Window()));
  }

  std::unique_ptr<SliderControl> slider;
  std::vector<std::string> events;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<SliderHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_HSCROLL && host != nullptr && host->slider != nullptr &&
        reinterpret_cast<HWND>(lParam) == host->slider->Window()) {
      host->slider->HandleScroll(wParam);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
};

using Events = std::vector<std::string>;

TEST(Slider_SetValue, RaisesChangeOnlyWhenTheValueChangesAndNeverScroll) {
  SliderHost host;
  host.slider->SetRange(-50, 50);
  host.slider->SetValue(0);  // already 0
  host.slider->SetValue(7);
  host.slider->SetValue(7);   // again
  host.slider->SetValue(99);  // held at the maximum
  host.slider->SetValue(50);  // the same, once held
  EXPECT_EQ(host.events, (Events{"change 7", "change 50"}));
  EXPECT_EQ(host.slider->Value(), 50);
}

TEST(Slider_SetRange, RaisesNothingAndKeepsTheValueInside) {
  SliderHost host;
  host.slider->SetRange(0, 20);
  host.slider->SetValue(0);
  host.events.clear();

  host.slider->SetRange(1, 300);  // 0 is outside: the trackbar moves to 1 by itself

  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(host.slider->Value(), 1);
  EXPECT_EQ(host.slider->Minimum(), 1);
  EXPECT_EQ(host.slider->Maximum(), 300);
  host.slider->SetValue(100);
  EXPECT_EQ(host.events, (Events{"change 100"}));
}

TEST(Slider_HandleScroll, KeysRaiseChangeThenScrollWithTheNewValue) {
  SliderHost host;
  host.slider->SetRange(-50, 50);
  host.slider->SetValue(0);
  host.events.clear();

  host.Key(VK_LEFT);   // small change 1
  host.Key(VK_PRIOR);  // large change 5
  host.Key(VK_END);

  EXPECT_EQ(host.events,
            (Events{"change -1", "scroll -1", "change -6", "scroll -6", "change 50", "scroll 50"}));
}

TEST(Slider_HandleScroll, ThumbDragTakesTheSignedPositionFromTheMessage) {
  SliderHost host;
  host.slider->SetRange(-50, 50);
  host.slider->SetValue(0);
  host.events.clear();

  host.Notify(TB_THUMBTRACK, -30);
  host.Notify(TB_THUMBTRACK, -30);  // the mouse moved within one step
  host.Notify(TB_THUMBTRACK, -31);
  host.Notify(TB_THUMBPOSITION, -31);  // let go where the last track left it
  host.Notify(TB_ENDTRACK, -31);

  EXPECT_EQ(host.events,
            (Events{"change -30", "scroll -30", "scroll -30", "change -31", "scroll -31"}));
  EXPECT_EQ(host.slider->Value(), -31);
}

// Each notification from the start value -121 of a bar over -255 … 255: the value it leaves and
// whether it raised the thumb drag. Outside a drag the track position is the value itself.
TEST(ScrollBar_HandleScroll, MovesByOneOrToAnEndAndRaisesOnlyTheThumbDrag) {
  struct Case {
    int code;
    int value;
    int drags;
  };
  const Case cases[] = {
      {SB_LINELEFT, -122, 0},      {SB_PAGELEFT, -122, 0},   {SB_LINERIGHT, -120, 0},
      {SB_PAGERIGHT, -120, 0},     {SB_LEFT, -255, 0},       {SB_RIGHT, 255, 0},
      {SB_THUMBPOSITION, -121, 0}, {SB_THUMBTRACK, -121, 1}, {SB_ENDSCROLL, -121, 0}};
  HWND parent = CreateWindowExW(0, WC_STATICW, L"", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  for (const Case& c : cases) {
    ScrollBarControl bar({parent, 101, RECT{0, 0, 320, 20}});
    int drags = 0;
    bar.onThumbDrag = [&] { ++drags; };
    bar.SetRange(-255, 255);
    bar.SetValue(-121);
    EXPECT_EQ(drags, 0) << "setting raises nothing";
    bar.HandleScroll(MAKEWPARAM(c.code, 0));
    EXPECT_EQ(bar.Value(), c.value) << "code " << c.code;
    EXPECT_EQ(drags, c.drags) << "code " << c.code;
  }
  DestroyWindow(parent);
}

}  // namespace
}  // namespace lumenor::app
