// The one window base with real windows: bound from WM_NCCREATE on, unbound and handle-less once
// the window is gone, whichever side destroys it first.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/window_binding_win32.h"

namespace lumenor::platform {
namespace {

class RecordingWindow final : public WindowBase<RecordingWindow> {
 public:
  explicit RecordingWindow(std::vector<UINT>& heard) : heard_(heard) {}
  ~RecordingWindow() { alive_ = false; }

  HWND Create(HWND parent = nullptr) {
    const DWORD style = parent != nullptr ? WS_CHILD : WS_OVERLAPPED;
    return CreateBoundWindow(GetModuleHandleW(nullptr), {L"LumenorRecordingWindow"}, L"",
                             {0, style, RECT{0, 0, 10, 10}, parent, nullptr});
  }
  void DestroyNow() { DestroyWindowNow(); }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    EXPECT_TRUE(alive_) << "message " << message << " reached a destroyed object";
    heard_.push_back(message);
    return DefaultHandling(message, wParam, lParam);
  }

 private:
  std::vector<UINT>& heard_;
  bool alive_ = true;
};

bool Heard(const std::vector<UINT>& heard, UINT message) {
  for (UINT m : heard)
    if (m == message) return true;
  return false;
}

TEST(WindowBase_Create, BindsFromWmNcCreateAndRegistersTheClassOnceForEveryWindow) {
  std::vector<UINT> first;
  std::vector<UINT> second;
  RecordingWindow one(first);
  RecordingWindow two(second);
  const HWND a = one.Create();
  const HWND b = two.Create();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(one.Window(), a);
  // WM_GETMINMAXINFO comes before WM_NCCREATE to a top-level window: it got the default handling.
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.front(), static_cast<UINT>(WM_NCCREATE));
  EXPECT_TRUE(Heard(first, WM_CREATE));
}

TEST(WindowBase_Destroy, TheObjectGoingFirstDestroysItsWindowAndHearsNoneOfItsLastMessages) {
  std::vector<UINT> heard;
  HWND window = nullptr;
  {
    RecordingWindow object(heard);
    window = object.Create();
    ASSERT_TRUE(IsWindow(window));
    heard.clear();
  }
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(Heard(heard, WM_DESTROY));
  EXPECT_FALSE(Heard(heard, WM_NCDESTROY));
}

TEST(WindowBase_Destroy, AWindowTheSystemDestroysIsLetGoAndNeverDestroyedTwice) {
  const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(parent, nullptr);
  std::vector<UINT> heard;
  RecordingWindow child(heard);
  ASSERT_NE(child.Create(parent), nullptr);

  DestroyWindow(parent);  // takes the child along
  EXPECT_TRUE(Heard(heard, WM_DESTROY));
  EXPECT_TRUE(Heard(heard, WM_NCDESTROY));
  EXPECT_EQ(child.Window(), nullptr);

  // A window made afterwards may get the old handle's slot: the let-go object must not touch it.
  std::vector<UINT> other;
  RecordingWindow next(other);
  const HWND fresh = next.Create();
  heard.clear();
  child.DestroyNow();
  EXPECT_TRUE(IsWindow(fresh));
  EXPECT_TRUE(heard.empty());
}

}  // namespace
}  // namespace lumenor::platform
