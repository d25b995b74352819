#include "hotkey/hotkey_subclass.h"

#include <gtest/gtest.h>

#include "hotkey/hotkey_errors.h"
#include "hotkey_test_fixture.h"

namespace lumenor::testing {
namespace {

using hotkey::HotkeyControls;
using hotkey::HotkeyControlsExist;
using hotkey::HotkeyWindowProc;
using hotkey::KeyedCollection;
using hotkey::kHotkeyMessage;
using hotkey::SubclassedWindows;
using hotkey::SubclassedWindowsExist;
using hotkey::SubclassWindow;
using hotkey::UnsubclassWindow;
using hotkey::WindowKey;

constexpr std::intptr_t HotkeyLParam(std::uint32_t high, std::uint32_t low) {
  return static_cast<std::intptr_t>((high << 16) | low);
}

TEST(KeyedCollection_Order, KeepsInsertionOrderWithOneBasedPositions) {
  KeyedCollection<int> c;
  c.Add("hwnd:3", 30);
  c.Add("hwnd:1", 10);
  c.Add("hwnd:2", 20);
  ASSERT_EQ(c.Count(), 3u);
  EXPECT_EQ(c.Item(std::size_t{1}), 30);
  EXPECT_EQ(c.Item(std::size_t{3}), 20);
  EXPECT_EQ(c.KeyAt(2), "hwnd:1");
  c.Remove("hwnd:3");
  EXPECT_EQ(c.Item(std::size_t{1}), 10);
  EXPECT_EQ(c.Item("HWND:2"), 20) << "keys match without regard to case";
}

TEST(KeyedCollection_Failures, DuplicateAddAndAbsentLookupFail) {
  KeyedCollection<int> c;
  c.Add("hwnd:1", 1);
  EXPECT_THROW(c.Add("HWND:1", 2), hotkey::DuplicateKeyError);
  EXPECT_EQ(c.Item("hwnd:1"), 1);
  EXPECT_THROW(c.Item("hwnd:2"), hotkey::AbsentKeyError);
  EXPECT_THROW(c.Remove("hwnd:2"), hotkey::AbsentKeyError);
  EXPECT_THROW(c.Item(std::size_t{0}), hotkey::AbsentKeyError);
  EXPECT_THROW(c.Item(std::size_t{2}), hotkey::AbsentKeyError);
  EXPECT_EQ(c.Count(), 1u);
}

class HotkeySubclassTest : public HotkeyTest {};

using HotkeySubclass_Registries = HotkeySubclassTest;
TEST_F(HotkeySubclass_Registries, ComeIntoBeingAtFirstUse) {
  EXPECT_FALSE(SubclassedWindowsExist());
  EXPECT_FALSE(HotkeyControlsExist());
  EXPECT_EQ(HotkeyControls().Count(), 0u);
  EXPECT_TRUE(HotkeyControlsExist());
  EXPECT_FALSE(SubclassedWindowsExist());
}

using HotkeySubclass_SubclassWindow = HotkeySubclassTest;
TEST_F(HotkeySubclass_SubclassWindow, InstallsDispatchAndRemembersThePrevious) {
  const auto window = system.AddWindow();
  SubclassWindow(system, window);
  EXPECT_EQ(system.GetProcedure(window), system.HotkeyProcedure());
  ASSERT_EQ(SubclassedWindows().Count(), 1u);
  const auto& record = SubclassedWindows().Item(WindowKey(window));
  EXPECT_EQ(record.hWnd, window);
  EXPECT_EQ(record.OldWndProc, system.ClassProcedure(window));
  EXPECT_EQ(record.NewWndProc, system.HotkeyProcedure());
  EXPECT_FALSE(HotkeyControlsExist()) << "subclassing files no control";
  UnsubclassWindow(system, window);
}

TEST_F(HotkeySubclass_SubclassWindow, TwiceChangesNothing) {
  const auto window = system.AddWindow();
  SubclassWindow(system, window);
  EXPECT_NO_THROW(SubclassWindow(system, window));
  EXPECT_EQ(SubclassedWindows().Count(), 1u);
  EXPECT_EQ(SubclassedWindows().Item(WindowKey(window)).OldWndProc, system.ClassProcedure(window))
      << "the dispatch never remembers itself as the previous procedure";
  UnsubclassWindow(system, window);
  EXPECT_EQ(system.GetProcedure(window), system.ClassProcedure(window));
}

TEST_F(HotkeySubclass_SubclassWindow, AgainUnderAForeignProcedureFailsToFile) {
  const auto window = system.AddWindow();
  SubclassWindow(system, window);
  const auto foreign = system.AddProcedure(
      [](platform::WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; });
  system.SetProcedure(window, foreign);
  EXPECT_THROW(SubclassWindow(system, window), hotkey::DuplicateKeyError);
  EXPECT_EQ(system.GetProcedure(window), system.HotkeyProcedure())
      << "the dispatch is installed before the filing fails";
  UnsubclassWindow(system, window);
}

TEST_F(HotkeySubclass_SubclassWindow, FilesAWindowThatHasNoProcedure) {
  SubclassWindow(system, 999);  // no such window
  const auto& record = SubclassedWindows().Item(WindowKey(999));
  EXPECT_EQ(record.OldWndProc, 0);
  EXPECT_EQ(record.NewWndProc, 0);
  UnsubclassWindow(system, 999);
  EXPECT_FALSE(SubclassedWindowsExist());
}

using HotkeySubclass_UnsubclassWindow = HotkeySubclassTest;
TEST_F(HotkeySubclass_UnsubclassWindow, RestoresAndDiscardsEmptyRegistries) {
  const auto window = system.AddWindow();
  RecordingControl control(window, WindowKey(window));
  SubclassWindow(system, window);
  HotkeyControls().Add(control.UniqueKey(), &control);

  UnsubclassWindow(system, window);
  EXPECT_EQ(system.GetProcedure(window), system.ClassProcedure(window));
  EXPECT_FALSE(SubclassedWindowsExist());
  EXPECT_FALSE(HotkeyControlsExist());

  EXPECT_EQ(system.Send(window, kHotkeyMessage, 0, HotkeyLParam(37, 2)),
            FakeHotkeySystem::kClassResult);
  EXPECT_TRUE(control.presses.empty()) << "a released window reaches no control";
}

TEST_F(HotkeySubclass_UnsubclassWindow, NeverSubclassedWindowKeepsItsProcedure) {
  const auto window = system.AddWindow();
  RecordingControl control(window, WindowKey(window));
  HotkeyControls().Add(control.UniqueKey(), &control);
  const auto foreign = system.AddProcedure(
      [](platform::WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; });
  system.SetProcedure(window, foreign);

  UnsubclassWindow(system, window);
  EXPECT_EQ(system.GetProcedure(window), foreign);
  EXPECT_FALSE(HotkeyControlsExist()) << "its control is removed all the same";
}

TEST_F(HotkeySubclass_UnsubclassWindow, RemovesOnlyThatWindowsControl) {
  system.AddWindow(12);
  system.AddWindow(123);
  RecordingControl control12(12, "hwnd:12");
  RecordingControl control123(123, "hwnd:123");
  SubclassWindow(system, 12);
  SubclassWindow(system, 123);
  HotkeyControls().Add(control12.UniqueKey(), &control12);
  HotkeyControls().Add(control123.UniqueKey(), &control123);

  UnsubclassWindow(system, 12);
  ASSERT_TRUE(HotkeyControlsExist());
  ASSERT_EQ(HotkeyControls().Count(), 1u);
  EXPECT_EQ(HotkeyControls().Item(std::size_t{1}), &control123);
  ASSERT_TRUE(SubclassedWindowsExist());
  EXPECT_TRUE(SubclassedWindows().Contains("hwnd:123"));
  EXPECT_EQ(system.GetProcedure(123), system.HotkeyProcedure());

  UnsubclassWindow(system, 123);
  EXPECT_FALSE(SubclassedWindowsExist());
  EXPECT_FALSE(HotkeyControlsExist());
}

TEST_F(HotkeySubclass_UnsubclassWindow, DropsAProcedureInstalledOnTop) {
  const auto window = system.AddWindow();
  SubclassWindow(system, window);
  const auto later = system.AddProcedure(
      [](platform::WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; });
  system.SetProcedure(window, later);
  UnsubclassWindow(system, window);
  EXPECT_EQ(system.GetProcedure(window), system.ClassProcedure(window));
}

TEST_F(HotkeySubclass_UnsubclassWindow, NeverInstallsANullProcedure) {
  const auto window = system.AddWindow();
  SubclassedWindows().Add(WindowKey(window), hotkey::ApiSubclassedWindow{0, 0, window});
  UnsubclassWindow(system, window);
  EXPECT_EQ(system.GetProcedure(window), system.ClassProcedure(window));
  EXPECT_FALSE(SubclassedWindowsExist());
}

struct SplitCase {
  std::uint32_t high;
  std::uint32_t low;
  std::int32_t vKey;
  std::int32_t modifier;
};

class HotkeyWindowProc_Split : public HotkeySubclassTest,
                               public ::testing::WithParamInterface<SplitCase> {};

TEST_P(HotkeyWindowProc_Split, KeyCodeFromHighWordFlagsFromLowWord) {
  const auto& c = GetParam();
  const auto window = system.AddWindow();
  RecordingControl control(window, WindowKey(window));
  SubclassWindow(system, window);
  HotkeyControls().Add(control.UniqueKey(), &control);
  system.Send(window, kHotkeyMessage, 0, HotkeyLParam(c.high, c.low));
  ASSERT_EQ(control.presses.size(), 1u);
  EXPECT_EQ(control.presses[0].first, c.vKey);
  EXPECT_EQ(control.presses[0].second, c.modifier);
  UnsubclassWindow(system, window);
}

INSTANTIATE_TEST_SUITE_P(LParams, HotkeyWindowProc_Split,
                         ::testing::Values(SplitCase{0x0025, 0x0002, 37, 2},
                                           SplitCase{0x0027, 0x0002, 39, 2},
                                           SplitCase{0x0025, 0x000F, 37, 15},
                                           SplitCase{0x0041, 0xFFFF, 65, -1},
                                           SplitCase{0x0041, 0x8000, 65, -32768}));

using HotkeyWindowProc_Dispatch = HotkeySubclassTest;
TEST_F(HotkeyWindowProc_Dispatch, OffersOnlyTheControlsOfTheMessagesWindow) {
  const auto window = system.AddWindow();
  const auto otherWindow = system.AddWindow();
  RecordingControl mine(window, WindowKey(window));
  RecordingControl other(otherWindow, WindowKey(otherWindow));
  SubclassWindow(system, window);
  SubclassWindow(system, otherWindow);
  HotkeyControls().Add(other.UniqueKey(), &other);
  HotkeyControls().Add(mine.UniqueKey(), &mine);

  system.Send(window, kHotkeyMessage, 0, HotkeyLParam(37, 2));
  system.Send(window, 0x0100, 0, HotkeyLParam(37, 2));  // not a hotkey message
  EXPECT_EQ(mine.presses.size(), 1u);
  EXPECT_TRUE(other.presses.empty());
  UnsubclassWindow(system, window);
  UnsubclassWindow(system, otherWindow);
}

using HotkeyWindowProc_PassOn = HotkeySubclassTest;
TEST_F(HotkeyWindowProc_PassOn, EveryMessageReachesThePreviousProcedure) {
  const auto window = system.AddWindow();
  RecordingControl control(window, WindowKey(window));
  SubclassWindow(system, window);
  HotkeyControls().Add(control.UniqueKey(), &control);

  EXPECT_EQ(system.Send(window, kHotkeyMessage, 0xC123, HotkeyLParam(37, 2)),
            FakeHotkeySystem::kClassResult);
  EXPECT_EQ(system.Send(window, 0x0005, 7, 0x00200010), FakeHotkeySystem::kClassResult);
  ASSERT_EQ(system.classMessages.size(), 2u);
  EXPECT_EQ(system.classMessages[0].message, kHotkeyMessage);
  EXPECT_EQ(system.classMessages[0].wParam, 0xC123u);
  EXPECT_EQ(system.classMessages[0].lParam, HotkeyLParam(37, 2));
  EXPECT_EQ(system.classMessages[1].message, 0x0005u);
  EXPECT_EQ(system.classMessages[1].lParam, 0x00200010);
  EXPECT_TRUE(system.defaultMessages.empty());
  UnsubclassWindow(system, window);
}

TEST_F(HotkeyWindowProc_PassOn, WindowNotFiledGoesToTheDefaultProcedure) {
  const auto window = system.AddWindow();
  RecordingControl control(window, WindowKey(window));
  HotkeyControls().Add(control.UniqueKey(), &control);

  EXPECT_EQ(HotkeyWindowProc(system, window, kHotkeyMessage, 1, HotkeyLParam(39, 2)),
            system.defaultResult);
  EXPECT_EQ(control.presses.size(), 1u) << "the dispatch runs all the same";
  ASSERT_EQ(system.defaultMessages.size(), 1u);
  EXPECT_EQ(system.defaultMessages[0].window, window);
  EXPECT_EQ(system.defaultMessages[0].wParam, 1u);
  EXPECT_TRUE(system.classMessages.empty());
}

TEST_F(HotkeyWindowProc_PassOn, NoRememberedProcedureGoesToTheDefault) {
  const auto window = system.AddWindow();
  SubclassedWindows().Add(WindowKey(window), hotkey::ApiSubclassedWindow{0, 0, window});
  system.SetProcedure(window, system.HotkeyProcedure());
  EXPECT_EQ(system.Send(window, 0x000F, 0, 0), system.defaultResult);
  system.SetProcedure(window, system.ClassProcedure(window));
}

TEST_F(HotkeyWindowProc_PassOn, NoResultAtAllGivesZero) {
  const auto window = system.AddWindow();
  SubclassedWindows().Add(WindowKey(window), hotkey::ApiSubclassedWindow{0x999999, 0, window});
  EXPECT_EQ(HotkeyWindowProc(system, window, 0x000F, 0, 0), 0);  // the procedure cannot run
}

TEST_F(HotkeyWindowProc_Dispatch, AFailingControlDoesNotStopTheLoop) {
  const auto window = system.AddWindow();
  RecordingControl noWindow(window, "a");
  RecordingControl throwing(window, "b");
  RecordingControl last(window, "c");
  noWindow.failOnWindow = true;
  throwing.failOnPress = true;
  HotkeyControls().Add("a", &noWindow);
  HotkeyControls().Add("b", &throwing);
  HotkeyControls().Add("c", &last);

  EXPECT_EQ(HotkeyWindowProc(system, window, kHotkeyMessage, 0, HotkeyLParam(37, 2)),
            system.defaultResult);
  EXPECT_TRUE(noWindow.presses.empty());
  EXPECT_EQ(throwing.presses.size(), 1u);
  EXPECT_EQ(last.presses.size(), 1u);
}

TEST_F(HotkeyWindowProc_Dispatch, SurvivesAHandlerThatRemovesControls) {
  const auto window = system.AddWindow();
  RecordingControl first(window, "a");
  RecordingControl second(window, "b");
  RecordingControl third(window, "c");
  RecordingControl latecomer(window, "d");
  HotkeyControls().Add("a", &first);
  HotkeyControls().Add("b", &second);
  HotkeyControls().Add("c", &third);
  SubclassWindow(system, window);
  // The first handler takes itself out and files another control: the count read at the start
  // stands, positions move up, and a position that no longer exists is passed over.
  first.onPress = [&] {
    HotkeyControls().Remove("a");
    HotkeyControls().Remove("c");
    HotkeyControls().Add("d", &latecomer);
  };

  EXPECT_EQ(system.Send(window, kHotkeyMessage, 0, HotkeyLParam(37, 2)),
            FakeHotkeySystem::kClassResult);
  EXPECT_EQ(first.presses.size(), 1u);
  EXPECT_TRUE(second.presses.empty()) << "moved to position 1, already passed";
  EXPECT_TRUE(third.presses.empty()) << "gone before its turn";
  EXPECT_EQ(latecomer.presses.size(), 1u) << "now at position 2";

  // A handler that empties the registry: positions 2 and 3 have vanished.
  HotkeyControls().Remove("b");
  HotkeyControls().Remove("d");
  HotkeyControls().Add("a", &first);
  HotkeyControls().Add("b", &second);
  HotkeyControls().Add("c", &third);
  first.onPress = [&] {
    HotkeyControls().Remove("a");
    HotkeyControls().Remove("b");
    HotkeyControls().Remove("c");
  };
  EXPECT_EQ(system.Send(window, kHotkeyMessage, 0, HotkeyLParam(37, 2)),
            FakeHotkeySystem::kClassResult);
  EXPECT_EQ(first.presses.size(), 2u);
  EXPECT_TRUE(second.presses.empty());
  UnsubclassWindow(system, window);
}

TEST_F(HotkeyWindowProc_Dispatch, ControlThatLeftRaisesNothingButMessagePasses) {
  const auto window = system.AddWindow();
  RecordingControl control(window, WindowKey(window));
  SubclassWindow(system, window);
  HotkeyControls().Add(control.UniqueKey(), &control);
  HotkeyControls().Remove(control.UniqueKey());

  EXPECT_EQ(system.Send(window, kHotkeyMessage, 0, HotkeyLParam(37, 2)),
            FakeHotkeySystem::kClassResult);
  EXPECT_TRUE(control.presses.empty());
  EXPECT_EQ(system.classMessages.size(), 1u);
  UnsubclassWindow(system, window);
}

}  // namespace
}  // namespace lumenor::testing
