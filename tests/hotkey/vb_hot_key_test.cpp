#include "hotkey/vb_hot_key.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/main_window_design.h"
#include "app/notices.h"
#include "hotkey/hotkey_errors.h"
#include "hotkey_test_fixture.h"
#include "support/fake_hotkey_host.h"

namespace lumenor::testing {
namespace {

using hotkey::BagValue;
using hotkey::HotkeyControls;
using hotkey::HotkeyControlsExist;
using hotkey::kFalse;
using hotkey::kTrue;
using hotkey::SettingsBag;
using hotkey::SubclassedWindowsExist;
using hotkey::VBHotKey;

class VBHotKeyTest : public HotkeyTest {
 protected:
  void SetUp() override {
    HotkeyTest::SetUp();
    host.window = system.AddWindow();
    control = std::make_unique<VBHotKey>(host, system, system);
    control->HotkeyPressed = [this] { ++pressed; };
    control->ErrorOccured = [this](const std::string& m, const std::string& s) {
      errors.emplace_back(m, s);
    };
    control->OnCreate();
  }
  void TearDown() override {
    control.reset();
    HotkeyTest::TearDown();
  }

  // VBHotKeyleft as the main window loads it.
  void LoadLeft() { control->LoadProperties(SettingsBag::FromBlock(app::kHotkeyLeftProperties)); }

  // Another program holds a combination before anyone else.
  void TakenByAnotherProgram(std::uint32_t modifiers, std::uint32_t virtualKey) {
    system.RegisterHotkey(system.AddWindow(), 1, modifiers, virtualKey);
  }

  bool Registered(std::uint32_t modifiers, std::uint32_t virtualKey) const {
    for (const auto& r : system.Registrations()) {
      if (r.window == host.window && r.modifiers == modifiers && r.virtualKey == virtualKey) {
        return true;
      }
    }
    return false;
  }

  FakeHotkeyHost host;
  std::unique_ptr<VBHotKey> control;
  int pressed = 0;
  std::vector<std::pair<std::string, std::string>> errors;
};

using VBHotKey_LoadProperties = VBHotKeyTest;
TEST_F(VBHotKey_LoadProperties, UserModeRegistersSubclassesAndFiles) {
  LoadLeft();
  EXPECT_EQ(control->CtrlKey(), kTrue);
  EXPECT_EQ(control->vKey(), 37);
  EXPECT_EQ(control->WinKey(), kFalse);
  EXPECT_EQ(control->AltKey(), kFalse);
  EXPECT_EQ(control->ShiftKey(), kFalse);
  EXPECT_EQ(control->Enabled(), kTrue);

  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 1);
  EXPECT_TRUE(Registered(2, 37));
  EXPECT_NE(control->hKey(), 0);
  EXPECT_EQ(control->hAtom(), static_cast<std::int16_t>(system.FindAtom("CONTROL+037")));
  EXPECT_EQ(control->hWnd(), host.window);
  EXPECT_EQ(control->UniqueKey(), hotkey::WindowKey(host.window));
  EXPECT_EQ(system.GetProcedure(host.window), system.HotkeyProcedure());
  ASSERT_EQ(HotkeyControls().Count(), 1u);
  EXPECT_EQ(HotkeyControls().Item(control->UniqueKey()), control.get());
  EXPECT_TRUE(host.changes.empty()) << "loading reports no change";

  EXPECT_TRUE(system.PressHotkey(2, 37));
  EXPECT_EQ(pressed, 1);
  EXPECT_EQ(system.classMessages.size(), 1u) << "the hotkey message still reaches the window";
  control->OnDestroy();
}

TEST_F(VBHotKey_LoadProperties, FailedFirstRegistrationIsNotReported) {
  TakenByAnotherProgram(2, 37);
  LoadLeft();
  EXPECT_EQ(control->hKey(), 0);
  EXPECT_NE(control->hAtom(), 0);
  EXPECT_EQ(control->Enabled(), kTrue);
  EXPECT_TRUE(errors.empty()) << "the control is filed only after its first registration";
  EXPECT_EQ(HotkeyControls().Count(), 1u);
  control->OnDestroy();
  EXPECT_EQ(system.AtomCount(), 0u);
}

TEST_F(VBHotKey_LoadProperties, DesignModeOnlyReadsTheFields) {
  host.userMode = false;
  LoadLeft();
  EXPECT_EQ(control->vKey(), 37);
  EXPECT_EQ(control->hAtom(), 0);
  EXPECT_EQ(control->hKey(), 0);
  EXPECT_EQ(control->UniqueKey(), "hwnd:0");
  EXPECT_TRUE(system.registerCalls.empty());
  EXPECT_EQ(system.GetProcedure(host.window), system.ClassProcedure(host.window));
  EXPECT_FALSE(HotkeyControlsExist());

  control->StopHotkey();
  EXPECT_EQ(control->hWnd(), 0) << "StopHotkey did nothing: the record is still there";
  control->OnDestroy();
  EXPECT_EQ(host.changes, std::vector<std::string>{"Enabled"});
  EXPECT_TRUE(system.unregisterCalls.empty());
  EXPECT_TRUE(system.deletedAtoms.empty());
}

TEST_F(VBHotKey_LoadProperties, WithoutAWindowStopsAfterReading) {
  host.window = 0;
  LoadLeft();
  EXPECT_EQ(control->vKey(), 37);
  EXPECT_TRUE(system.registerCalls.empty());
  EXPECT_FALSE(SubclassedWindowsExist());
  EXPECT_FALSE(HotkeyControlsExist());
}

TEST_F(VBHotKey_LoadProperties, DisabledSubclassesAndFilesButRegistersNothing) {
  SettingsBag bag = SettingsBag::FromBlock(app::kHotkeyLeftProperties);
  bag.WriteValue("Enabled", BagValue::Boolean(kFalse), BagValue::Boolean(kTrue));
  control->LoadProperties(bag);
  EXPECT_EQ(control->hKey(), 0);
  EXPECT_EQ(control->hAtom(), 0);
  EXPECT_TRUE(system.registerCalls.empty());
  EXPECT_EQ(system.GetProcedure(host.window), system.HotkeyProcedure());
  EXPECT_EQ(HotkeyControls().Count(), 1u);
  control->RaiseKeyPressEvent(37, 2);
  EXPECT_EQ(pressed, 0);

  // hAtom is 0: a key write changes the control alone.
  control->vKey(38);
  EXPECT_EQ(host.changes, std::vector<std::string>{"VKey"});
  EXPECT_TRUE(system.registerCalls.empty());
  control->Enabled(kTrue);
  EXPECT_TRUE(Registered(2, 37)) << "the record still holds the code it was loaded with";
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 1);
  control->OnDestroy();
}

TEST_F(VBHotKey_LoadProperties, TwiceInUserModeFailsToFile) {
  LoadLeft();
  EXPECT_THROW(LoadLeft(), hotkey::DuplicateKeyError);
  control->OnDestroy();
}

using VBHotKey_InitDefaults = VBHotKeyTest;
TEST_F(VBHotKey_InitDefaults, RegistersNothingAndEnablingChangesNothing) {
  control->InitDefaults();
  EXPECT_EQ(control->WinKey(), kTrue);
  EXPECT_EQ(control->vKey(), 65);
  EXPECT_EQ(control->Enabled(), kTrue);
  EXPECT_EQ(control->UniqueKey(), "hwnd:0");
  EXPECT_EQ(control->hAtom(), 0);
  EXPECT_EQ(control->hKey(), 0);
  control->Enabled(kTrue);
  EXPECT_TRUE(host.changes.empty());
  EXPECT_TRUE(system.registerCalls.empty());
  EXPECT_FALSE(HotkeyControlsExist());
}

struct PressCase {
  std::int32_t vKey;
  std::int32_t modifier;
  int events;
};

class VBHotKey_RaiseKeyPressEventTable : public VBHotKeyTest,
                                         public ::testing::WithParamInterface<PressCase> {};

TEST_P(VBHotKey_RaiseKeyPressEventTable, RaisesOnlyForItsOwnCombination) {
  LoadLeft();
  control->RaiseKeyPressEvent(GetParam().vKey, GetParam().modifier);
  EXPECT_EQ(pressed, GetParam().events);
  control->OnDestroy();
}

INSTANTIATE_TEST_SUITE_P(Left, VBHotKey_RaiseKeyPressEventTable,
                         ::testing::Values(PressCase{37, 2, 1}, PressCase{37, 6, 0},
                                           PressCase{37, 0, 0}, PressCase{39, 2, 0},
                                           PressCase{37, 0x4002, 1}, PressCase{37, 10, 0}));

using VBHotKey_RaiseKeyPressEvent = VBHotKeyTest;
TEST_F(VBHotKey_RaiseKeyPressEvent, EachCallRaisesUntilDisabled) {
  LoadLeft();
  control->RaiseKeyPressEvent(37, 2);
  control->RaiseKeyPressEvent(37, 2);
  EXPECT_EQ(pressed, 2) << "repeats are not suppressed";
  control->Enabled(kFalse);
  control->RaiseKeyPressEvent(37, 2);
  EXPECT_EQ(pressed, 2);
  control->OnDestroy();
}

using VBHotKey_KeyPropertyWrite = VBHotKeyTest;
TEST_F(VBHotKey_KeyPropertyWrite, SameValueReportsAndRegistersNothing) {
  LoadLeft();
  const auto calls = system.registerCalls.size();
  control->vKey(37);
  control->CtrlKey(kTrue);
  control->CtrlKey(1);  // any non-zero is true
  control->WinKey(kFalse);
  control->Enabled(5);
  EXPECT_TRUE(host.changes.empty());
  EXPECT_EQ(system.registerCalls.size(), calls);
  EXPECT_TRUE(system.unregisterCalls.empty());
  control->OnDestroy();
}

TEST_F(VBHotKey_KeyPropertyWrite, NewCodeReRegistersUnderItsAtom) {
  LoadLeft();
  const std::string key = control->UniqueKey();
  control->vKey(38);
  EXPECT_EQ(host.changes, std::vector<std::string>{"VKey"});
  EXPECT_FALSE(Registered(2, 37));
  EXPECT_TRUE(Registered(2, 38));
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 0);
  EXPECT_EQ(system.AtomReferences("CONTROL+038"), 1);
  EXPECT_EQ(control->hAtom(), static_cast<std::int16_t>(system.FindAtom("CONTROL+038")));
  EXPECT_EQ(control->UniqueKey(), key);

  control->RaiseKeyPressEvent(38, 2);
  EXPECT_EQ(pressed, 1);
  control->RaiseKeyPressEvent(37, 2);
  EXPECT_EQ(pressed, 1);
  EXPECT_TRUE(system.PressHotkey(2, 38));
  EXPECT_EQ(pressed, 2);
  EXPECT_FALSE(system.PressHotkey(2, 37)) << "Ctrl + Left is free again";
  control->OnDestroy();
}

struct FlagWriteCase {
  void (VBHotKey::*write)(hotkey::TruthValue);
  hotkey::TruthValue value;
  const char* key;
  std::uint32_t modifiers;
  const char* atom;
};

class VBHotKey_KeyPropertyWriteTable : public VBHotKeyTest,
                                       public ::testing::WithParamInterface<FlagWriteCase> {};

TEST_P(VBHotKey_KeyPropertyWriteTable, EachFlagReportsItsKeyAndReRegisters) {
  const auto& c = GetParam();
  LoadLeft();
  ((*control).*c.write)(c.value);
  EXPECT_EQ(host.changes, std::vector<std::string>{c.key});
  EXPECT_TRUE(Registered(c.modifiers, 37));
  EXPECT_EQ(system.Registrations().size(), 1u);
  EXPECT_EQ(system.AtomReferences(c.atom), 1);
  EXPECT_EQ(system.AtomCount(), 1u);
  control->OnDestroy();
}

INSTANTIATE_TEST_SUITE_P(
    Flags, VBHotKey_KeyPropertyWriteTable,
    ::testing::Values(FlagWriteCase{&VBHotKey::AltKey, kTrue, "AltKey", 3, "CONTROL+ALT+037"},
                      FlagWriteCase{&VBHotKey::ShiftKey, kTrue, "ShiftKey", 6, "SHIFT+CONTROL+037"},
                      FlagWriteCase{&VBHotKey::CtrlKey, kFalse, "CtrlKey", 0, "037"},
                      FlagWriteCase{&VBHotKey::WinKey, kTrue, "WinKey", 10, "WIN+CONTROL+037"}));

TEST_F(VBHotKey_KeyPropertyWrite, FailedReRegistrationRaisesErrorOccured) {
  TakenByAnotherProgram(2, 38);
  LoadLeft();
  control->vKey(38);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].first, "Hotkey already registered.\r\n");
  EXPECT_EQ(errors[0].second, "ApiHotkey:Register");
  EXPECT_EQ(control->hKey(), 0);
  EXPECT_EQ(control->Enabled(), kTrue) << "a failed registration changes no property";
  control->OnDestroy();
}

using VBHotKey_Enabled = VBHotKeyTest;
TEST_F(VBHotKey_Enabled, FalseUnregistersAndKeepsTheAtomNumber) {
  LoadLeft();
  const auto atom = control->hAtom();
  control->Enabled(kFalse);
  EXPECT_EQ(host.changes, std::vector<std::string>{"Enabled"});
  EXPECT_EQ(control->hKey(), 0);
  EXPECT_EQ(control->hAtom(), atom);
  EXPECT_TRUE(system.Registrations().empty());
  EXPECT_EQ(system.AtomCount(), 0u);

  control->Enabled(kTrue);
  EXPECT_TRUE(Registered(2, 37));
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 1);
  control->OnDestroy();
}

TEST_F(VBHotKey_Enabled, FalseThenAKeyWriteLeavesTheHotkeyRegisteredButSilent) {
  LoadLeft();
  control->Enabled(kFalse);
  control->ShiftKey(kTrue);
  EXPECT_EQ(host.changes, (std::vector<std::string>{"Enabled", "ShiftKey"}));
  EXPECT_TRUE(Registered(6, 37)) << "hAtom alone decides the re-registration";
  EXPECT_NE(control->hKey(), 0);
  EXPECT_EQ(control->Enabled(), kFalse);

  EXPECT_TRUE(system.PressHotkey(6, 37));
  EXPECT_EQ(pressed, 0);
  control->OnDestroy();
  EXPECT_TRUE(system.Registrations().empty());
  EXPECT_EQ(system.AtomCount(), 0u);
}

using VBHotKey_OnDestroy = VBHotKeyTest;
TEST_F(VBHotKey_OnDestroy, TellsTheHostEnabledAndUndoesEverything) {
  LoadLeft();
  control->OnDestroy();
  EXPECT_EQ(host.changes, std::vector<std::string>{"Enabled"});
  EXPECT_EQ(control->Enabled(), kFalse);
  EXPECT_TRUE(system.Registrations().empty());
  EXPECT_EQ(system.AtomCount(), 0u);
  EXPECT_EQ(system.GetProcedure(host.window), system.ClassProcedure(host.window));
  EXPECT_FALSE(HotkeyControlsExist());
  EXPECT_FALSE(SubclassedWindowsExist());
  EXPECT_THROW(control->hAtom(), hotkey::ObjectNotSetError) << "the record is released";
  EXPECT_EQ(system.deletedAtoms.size(), 1u) << "the atom is deleted once";
}

using VBHotKey_StopHotkey = VBHotKeyTest;
TEST_F(VBHotKey_StopHotkey, MembersThatNeedTheRecordFailAfterwards) {
  LoadLeft();
  control->StopHotkey();
  EXPECT_TRUE(system.Registrations().empty());
  EXPECT_FALSE(HotkeyControlsExist());

  EXPECT_THROW(control->hAtom(), hotkey::ObjectNotSetError);
  EXPECT_THROW(control->hKey(), hotkey::ObjectNotSetError);
  EXPECT_THROW(control->UniqueKey(), hotkey::ObjectNotSetError);
  EXPECT_THROW(control->hWnd(), hotkey::ObjectNotSetError);
  EXPECT_THROW(control->RaiseKeyPressEvent(37, 2), hotkey::ObjectNotSetError);
  EXPECT_EQ(pressed, 0);

  // Writes store and report their value before they fail.
  EXPECT_THROW(control->vKey(40), hotkey::ObjectNotSetError);
  EXPECT_EQ(control->vKey(), 40);
  EXPECT_THROW(control->Enabled(kFalse), hotkey::ObjectNotSetError);
  EXPECT_EQ(control->Enabled(), kFalse);
  EXPECT_EQ(host.changes, (std::vector<std::string>{"VKey", "Enabled"}));
  EXPECT_TRUE(system.registerCalls.size() == 1u) << "no registration was touched";

  // What does not need the record still works.
  EXPECT_NO_THROW(control->Enabled(kFalse));
  EXPECT_NO_THROW(control->StopHotkey());
  EXPECT_NO_THROW(control->OnDestroy());
  EXPECT_EQ(control->About(), 0);
}

TEST_F(VBHotKey_StopHotkey, KeyWriteInDesignModeNeedsNoRecord) {
  LoadLeft();
  control->StopHotkey();
  host.userMode = false;
  EXPECT_NO_THROW(control->AltKey(kTrue));
  EXPECT_EQ(control->AltKey(), kTrue);
}

using VBHotKey_OnResize = VBHotKeyTest;
TEST_F(VBHotKey_OnResize, HostSizeBecomesFixedWithoutALoop) {
  host.width = 1000;
  host.height = 300;
  int resizes = 0;
  host.sized = [&] {
    ++resizes;
    ASSERT_LT(resizes, 10) << "resize loop";
    control->OnResize();
  };
  control->OnResize();
  EXPECT_EQ(host.width, 450);
  EXPECT_EQ(host.height, 450);
  EXPECT_EQ(host.sizeChanges, 2) << "width first, then height, nothing more";

  control->OnResize();
  EXPECT_EQ(host.sizeChanges, 2);
}

using VBHotKey_About = VBHotKeyTest;
TEST_F(VBHotKey_About, ReadsZeroWhateverIsWritten) {
  control->About(1234);
  EXPECT_EQ(control->About(), 0);
  EXPECT_TRUE(host.changes.empty());
}

using VBHotKey_RaiseError = VBHotKeyTest;
TEST_F(VBHotKey_RaiseError, RaisesErrorOccuredOnceWithTheSameTexts) {
  control->RaiseError("first", "second");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], (std::pair<std::string, std::string>{"first", "second"}));
}

using VBHotKey_Destructor = VBHotKeyTest;
TEST_F(VBHotKey_Destructor, ControlNeverDestroyedProperlyLeavesTheRegistry) {
  LoadLeft();
  control.reset();
  EXPECT_TRUE(!HotkeyControlsExist() || HotkeyControls().Count() == 0);
  EXPECT_EQ(system.Send(host.window, hotkey::kHotkeyMessage, 0, (37 << 16) | 2),
            FakeHotkeySystem::kClassResult)
      << "the dispatch still passes messages on and reaches no destroyed control";
  hotkey::UnsubclassWindow(system, host.window);
}

using VBHotKey_TwoControls = VBHotKeyTest;
TEST_F(VBHotKey_TwoControls, EachHearsOnlyItsOwnCombination) {
  FakeHotkeyHost rightHost;
  rightHost.window = system.AddWindow();
  VBHotKey right(rightHost, system, system);
  int rightPressed = 0;
  right.HotkeyPressed = [&] { ++rightPressed; };
  right.OnCreate();
  LoadLeft();
  right.LoadProperties(SettingsBag::FromBlock(app::kHotkeyRightProperties));
  EXPECT_EQ(HotkeyControls().Count(), 2u);
  EXPECT_EQ(system.AtomReferences("CONTROL+039"), 1);

  system.PressHotkey(2, 37);
  system.PressHotkey(2, 39);
  system.PressHotkey(2, 39);
  EXPECT_EQ(pressed, 1);
  EXPECT_EQ(rightPressed, 2);

  control->OnDestroy();
  EXPECT_EQ(HotkeyControls().Count(), 1u);
  right.OnDestroy();
  EXPECT_FALSE(HotkeyControlsExist());
  EXPECT_EQ(system.AtomCount(), 0u);
}

TEST_F(VBHotKey_TwoControls, OnlyTheControlWhoseCombinationWasTakenAtLoadNamesItsKeyInTheNotice) {
  for (const bool leftTaken : {true, false}) {
    SCOPED_TRACE(leftTaken ? "Ctrl+Left taken" : "Ctrl+Right taken");
    FakeHotkeySystem fresh;
    FakeHotkeyHost leftHost, rightHost;
    leftHost.window = fresh.AddWindow();
    rightHost.window = fresh.AddWindow();
    const platform::WindowHandle other = fresh.AddWindow();
    fresh.RegisterHotkey(other, 1, 2, leftTaken ? 37 : 39);
    VBHotKey left(leftHost, fresh, fresh), right(rightHost, fresh, fresh);
    left.OnCreate();
    right.OnCreate();
    left.LoadProperties(SettingsBag::FromBlock(app::kHotkeyLeftProperties));
    right.LoadProperties(SettingsBag::FromBlock(app::kHotkeyRightProperties));

    VBHotKey& taken = leftTaken ? left : right;
    VBHotKey& held = leftTaken ? right : left;
    EXPECT_EQ(app::HotkeyTakenNotice(taken), std::string("热键 ") +
                                                 (leftTaken ? "Ctrl+←" : "Ctrl+→") +
                                                 " 已被其他程序占用：Hotkey already registered.");
    EXPECT_EQ(app::HotkeyTakenNotice(held), std::nullopt);

    // Once the other program lets go and the control registers, there is nothing to tell.
    fresh.UnregisterHotkey(other, 1);
    taken.Enabled(kFalse);
    EXPECT_EQ(app::HotkeyTakenNotice(taken), std::nullopt) << "not wanted";
    taken.Enabled(kTrue);
    EXPECT_NE(taken.hKey(), 0);
    EXPECT_EQ(app::HotkeyTakenNotice(taken), std::nullopt) << "registered";
    left.OnDestroy();
    right.OnDestroy();
    hotkey::UnsubclassWindow(fresh, 0);
  }
}

TEST(Notices_HotkeyName, ModifiersThenTheKeyAsTheUserReadsIt) {
  EXPECT_EQ(app::HotkeyName(2, 37), "Ctrl+←");
  EXPECT_EQ(app::HotkeyName(2, 39), "Ctrl+→");
  EXPECT_EQ(app::HotkeyName(2 | 4, 'A'), "Ctrl+Shift+A");
  EXPECT_EQ(app::HotkeyName(1 | 8, '7'), "Alt+Win+7");
  EXPECT_EQ(app::HotkeyName(0, 113), "113");
}

}  // namespace
}  // namespace lumenor::testing
