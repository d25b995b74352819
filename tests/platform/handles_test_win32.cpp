// The owning holders: each owns its handle once, and the live count of its kind follows what is
// held through moves, resets and releases, which is what a long run is measured by under Wine.
#include "platform/handles_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

namespace lumenor::platform {
namespace {

TEST(UniqueHandle_LiveCount, FollowsWhatIsHeldThroughMovesResetsAndReleases) {
  const long brushes = LiveHandles(HandleKind::Brush);
  const long fonts = LiveHandles(HandleKind::Font);
  const long kernel = LiveHandles(HandleKind::Kernel);
  {
    UniqueBrush first(CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_TRUE(first);
    EXPECT_EQ(LiveHandles(HandleKind::Brush), brushes + 1);
    EXPECT_EQ(LiveHandles(HandleKind::Font), fonts);  // each kind counts on its own

    UniqueBrush second = std::move(first);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(LiveHandles(HandleKind::Brush), brushes + 1);

    second.reset(CreateSolidBrush(RGB(4, 5, 6)));  // the old one is deleted, the new one held
    EXPECT_EQ(LiveHandles(HandleKind::Brush), brushes + 1);
    second.reset(second.get());  // the same handle again changes nothing
    EXPECT_EQ(LiveHandles(HandleKind::Brush), brushes + 1);
    EXPECT_NE(GetObjectType(second.get()), 0u);

    first.reset(CreateSolidBrush(RGB(7, 8, 9)));
    EXPECT_EQ(LiveHandles(HandleKind::Brush), brushes + 2);
    HBRUSH given = first.release();
    EXPECT_EQ(LiveHandles(HandleKind::Brush), brushes + 1);
    DeleteObject(given);

    // A file that did not open answers INVALID_HANDLE_VALUE: nothing is held.
    UniqueKernelHandle file(CreateFileW(L"Z:\\no\\such\\directory\\file", GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(file.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(LiveHandles(HandleKind::Kernel), kernel);
    UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    EXPECT_EQ(LiveHandles(HandleKind::Kernel), kernel + 1);
  }
  EXPECT_EQ(LiveHandles(HandleKind::Brush), brushes);
  EXPECT_EQ(LiveHandles(HandleKind::Kernel), kernel);
}

TEST(UniqueHandle_LiveCount, WindowIsDestroyedWithItsHolderAndAnswersTheCountQuery) {
  constexpr wchar_t kClass[] = L"LumenorHandlesTest";
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    LRESULT answer = 0;
    if (AnswerLiveHandleCount(message, wParam, answer)) return answer;
    return DefWindowProcW(window, message, wParam, lParam);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);
  const long windows = LiveHandles(HandleKind::Window);
  const UINT query = RegisterWindowMessageW(kLiveHandleCountMessageName);
  HWND seen = nullptr;
  {
    UniqueWindow window(CreateWindowExW(0, kClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        wc.hInstance, nullptr));
    ASSERT_TRUE(window);
    seen = window.get();
    EXPECT_EQ(SendMessageW(seen, query, static_cast<WPARAM>(HandleKind::Window), 0), windows + 1);
    EXPECT_EQ(SendMessageW(seen, query, kHandleKinds, 0), -1);
  }
  EXPECT_FALSE(IsWindow(seen));
  EXPECT_EQ(LiveHandles(HandleKind::Window), windows);
  UnregisterClassW(kClass, wc.hInstance);
}

}  // namespace
}  // namespace lumenor::platform
