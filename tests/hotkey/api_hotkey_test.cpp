#include "hotkey/api_hotkey.h"

#include <gtest/gtest.h>

#include "hotkey/hotkey_errors.h"
#include "hotkey_test_fixture.h"

namespace lumenor::testing {
namespace {

using hotkey::ApiHotkey;
using hotkey::HotkeyControls;
using hotkey::kFalse;
using hotkey::kTrue;

class ApiHotkeyTest : public HotkeyTest {
 protected:
  ApiHotkey Record(std::int32_t modifier, std::int32_t vKey, platform::WindowHandle window) {
    ApiHotkey record(system);
    record.Modifier(modifier);
    record.vKey(vKey);
    record.hWnd(window);
    return record;
  }
};

using ApiHotkey_New = ApiHotkeyTest;
TEST_F(ApiHotkey_New, ReadsZeroEverywhereAndUnregisterTouchesNothing) {
  ApiHotkey record(system);
  EXPECT_EQ(record.Modifier(), 0);
  EXPECT_EQ(record.vKey(), 0);
  EXPECT_EQ(record.hWnd(), 0);
  EXPECT_EQ(record.hAtom(), 0);
  EXPECT_EQ(record.hKey(), 0);
  EXPECT_EQ(record.Key(), 0);
  EXPECT_EQ(record.AltKey(), kFalse);
  EXPECT_EQ(record.ControlKey(), kFalse);
  EXPECT_EQ(record.ShiftKey(), kFalse);
  EXPECT_EQ(record.WinKey(), kFalse);
  EXPECT_EQ(record.UniqueKey(), "hwnd:0");
  EXPECT_EQ(record.UniqueAtomName(), "000");

  record.Unregister();
  EXPECT_TRUE(system.unregisterCalls.empty());
  EXPECT_TRUE(system.deletedAtoms.empty());
}

using ApiHotkey_Flags = ApiHotkeyTest;
TEST_F(ApiHotkey_Flags, AnyNonZeroWriteSetsTheBitAndReadsMinusOne) {
  ApiHotkey record(system);
  record.AltKey(1);
  EXPECT_EQ(record.AltKey(), kTrue);
  EXPECT_EQ(record.Modifier(), 1);
  record.AltKey(0);
  record.AltKey(-1);
  EXPECT_EQ(record.AltKey(), kTrue);
  EXPECT_EQ(record.Modifier(), 1);

  record.ShiftKey(7);
  record.WinKey(kTrue);
  EXPECT_EQ(record.Modifier(), 1 | 4 | 8);
  record.AltKey(kFalse);
  EXPECT_EQ(record.Modifier(), 4 | 8) << "clearing one flag leaves the others";
}

TEST_F(ApiHotkey_Flags, ExtraModifierBitsStayAndShowInNoFlag) {
  ApiHotkey record = Record(0x4002, 37, 0);
  EXPECT_EQ(record.ControlKey(), kTrue);
  EXPECT_EQ(record.AltKey(), kFalse);
  EXPECT_EQ(record.ShiftKey(), kFalse);
  EXPECT_EQ(record.WinKey(), kFalse);
  record.ShiftKey(kTrue);
  record.ShiftKey(kFalse);
  EXPECT_EQ(record.Modifier(), 0x4002);
}

using ApiHotkey_UniqueKey = ApiHotkeyTest;
TEST_F(ApiHotkey_UniqueKey, IsTheHandleInDecimal) {
  EXPECT_EQ(Record(0, 0, 852).UniqueKey(), "hwnd:852");
  EXPECT_EQ(Record(0, 0, -5).UniqueKey(), "hwnd:-5");
  // A 64-bit handle keeps all its digits.
  EXPECT_EQ(Record(0, 0, static_cast<platform::WindowHandle>(0x100000010LL)).UniqueKey(),
            "hwnd:4294967312");
}

struct AtomNameCase {
  std::int32_t modifier;
  std::int32_t vKey;
  const char* name;
};

class ApiHotkey_UniqueAtomNameTable : public ApiHotkeyTest,
                                      public ::testing::WithParamInterface<AtomNameCase> {};

TEST_P(ApiHotkey_UniqueAtomNameTable, NamesModifiersInReverseBitOrderAndPadsTheCode) {
  const auto& c = GetParam();
  EXPECT_EQ(Record(c.modifier, c.vKey, 0).UniqueAtomName(), c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, ApiHotkey_UniqueAtomNameTable,
    ::testing::Values(AtomNameCase{2, 37, "CONTROL+037"}, AtomNameCase{2, 39, "CONTROL+039"},
                      AtomNameCase{15, 65, "WIN+SHIFT+CONTROL+ALT+065"}, AtomNameCase{0, 9, "009"},
                      AtomNameCase{1, 1234, "ALT+1234"}, AtomNameCase{0x4002, 37, "CONTROL+037"},
                      AtomNameCase{5, 0, "SHIFT+ALT+000"}, AtomNameCase{8, 100, "WIN+100"},
                      AtomNameCase{0x30, 5, "005"}, AtomNameCase{0, -5, "-005"},
                      AtomNameCase{2, -1234, "CONTROL+-1234"}));

using ApiHotkey_UniqueAtomName = ApiHotkeyTest;
TEST_F(ApiHotkey_UniqueAtomName, SameCombinationOnTwoWindowsGivesOneName) {
  EXPECT_EQ(Record(2, 37, 12).UniqueAtomName(), Record(2, 37, 123).UniqueAtomName());
}

using ApiHotkey_ReadFromAtom = ApiHotkeyTest;
TEST_F(ApiHotkey_ReadFromAtom, FourDigitCodeComesBackAsItsLastThreeDigits) {
  ApiHotkey registered = Record(1, 1234, system.AddWindow());
  registered.Register();
  ASSERT_NE(registered.hAtom(), 0);

  ApiHotkey read(system);
  read.ReadFromAtom(registered.hAtom());
  EXPECT_EQ(read.AltKey(), kTrue);
  EXPECT_EQ(read.Modifier(), 1);
  EXPECT_EQ(read.vKey(), 234);
  EXPECT_EQ(read.hAtom(), 0) << "reading an atom does not make it the record's";
  EXPECT_EQ(read.hKey(), 0);
  EXPECT_EQ(read.hWnd(), 0);
  registered.Unregister();
}

TEST_F(ApiHotkey_ReadFromAtom, AllFourModifiersAndTheCode) {
  const auto atom = static_cast<std::int16_t>(system.AddGlobalAtom("WIN+SHIFT+CONTROL+ALT+065"));
  ApiHotkey read(system);
  read.ReadFromAtom(atom);
  EXPECT_EQ(read.Modifier(), 15);
  EXPECT_EQ(read.vKey(), 65);
}

TEST_F(ApiHotkey_ReadFromAtom, OnlyEverSetsFlags) {
  const auto atom = static_cast<std::int16_t>(system.AddGlobalAtom("CONTROL+037"));
  ApiHotkey read(system);
  read.AltKey(kTrue);
  read.ReadFromAtom(atom);
  EXPECT_EQ(read.AltKey(), kTrue);
  EXPECT_EQ(read.ControlKey(), kTrue);
  EXPECT_EQ(read.vKey(), 37);
}

TEST_F(ApiHotkey_ReadFromAtom, NameWithoutDigitsLeavesTheCode) {
  const auto atom = static_cast<std::int16_t>(system.AddGlobalAtom("CONTROL+ABC"));
  ApiHotkey read = Record(0, 77, 0);
  read.ReadFromAtom(atom);
  EXPECT_EQ(read.ControlKey(), kTrue);
  EXPECT_EQ(read.vKey(), 77);
}

TEST_F(ApiHotkey_ReadFromAtom, UnreadableAtomChangesNothing) {
  ApiHotkey read = Record(4, 77, 0);
  read.ReadFromAtom(-12345);  // no such atom
  EXPECT_EQ(read.Modifier(), 4);
  EXPECT_EQ(read.vKey(), 77);
}

TEST_F(ApiHotkey_ReadFromAtom, AtomBeyondSixteenBitsIsAnOverflow) {
  ApiHotkey read = Record(4, 77, 0);
  EXPECT_THROW(read.ReadFromAtom(32768), hotkey::OverflowError);
  EXPECT_THROW(read.ReadFromAtom(-32769), hotkey::OverflowError);
  EXPECT_THROW(read.ReadFromAtom(49196), hotkey::OverflowError) << "unsigned atom, not widened";
  EXPECT_EQ(read.Modifier(), 4);
  EXPECT_EQ(read.vKey(), 77);
}

using ApiHotkey_MatchedKey = ApiHotkeyTest;
TEST_F(ApiHotkey_MatchedKey, ComparesFourFlagsAndTheWholeCode) {
  EXPECT_EQ(Record(2, 37, 1).MatchedKey(Record(0x4002, 37, 2)), kTrue)
      << "bits beyond the four flags and the window take no part";
  EXPECT_EQ(Record(2, 37, 1).MatchedKey(Record(2, 39, 1)), kFalse);
  EXPECT_EQ(Record(2, 37, 1).MatchedKey(Record(6, 37, 1)), kFalse);
  EXPECT_EQ(Record(2, 37, 1).MatchedKey(Record(0, 37, 1)), kFalse);
  EXPECT_EQ(Record(10, 37, 1).MatchedKey(Record(2, 37, 1)), kFalse);
  EXPECT_EQ(Record(2, 37, 1).MatchedKey(Record(2, 37 + 0x10000, 1)), kFalse)
      << "the code is compared as a whole 32-bit value";
}

using ApiHotkey_Register = ApiHotkeyTest;
TEST_F(ApiHotkey_Register, AddsTheCombinationsAtomAndRegistersUnderIt) {
  const auto window = system.AddWindow();
  ApiHotkey record = Record(0x4002, 37, window);
  record.Register();

  const std::uint16_t atom = system.FindAtom("CONTROL+037");
  ASSERT_NE(atom, 0);
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 1);
  EXPECT_EQ(record.hAtom(), static_cast<std::int16_t>(atom)) << "signed 16-bit, widened";
  EXPECT_LT(record.hAtom(), 0);
  ASSERT_EQ(system.registerCalls.size(), 1u);
  EXPECT_EQ(system.registerCalls[0].window, window);
  EXPECT_EQ(system.registerCalls[0].id, record.hAtom());
  EXPECT_EQ(system.registerCalls[0].modifiers, 0x4002u) << "the modifier value goes unchanged";
  EXPECT_EQ(system.registerCalls[0].virtualKey, 37u);
  EXPECT_NE(record.hKey(), 0);
  EXPECT_EQ(record.Key(), record.hKey());
  record.Unregister();
}

TEST_F(ApiHotkey_Register, SecondRegistrationOfTakenComboFails) {
  ApiHotkey first = Record(2, 37, system.AddWindow());
  ApiHotkey second = Record(2, 37, system.AddWindow());
  first.Register();
  second.Register();
  EXPECT_NE(first.hKey(), 0);
  EXPECT_EQ(second.hKey(), 0);
  EXPECT_EQ(second.hAtom(), first.hAtom()) << "one name, one atom";
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 2);
  first.Unregister();
  second.Unregister();
  EXPECT_EQ(system.AtomCount(), 0u);
}

TEST_F(ApiHotkey_Register, WithoutAnAtomRegistersUnderIdentifierZero) {
  system.atomTableFull = true;
  ApiHotkey record = Record(2, 37, system.AddWindow());
  record.Register();
  EXPECT_EQ(record.hAtom(), 0);
  ASSERT_EQ(system.registerCalls.size(), 1u);
  EXPECT_EQ(system.registerCalls[0].id, 0);
  EXPECT_NE(record.hKey(), 0);
  record.Unregister();
  EXPECT_TRUE(system.deletedAtoms.empty()) << "no atom was added, none is deleted";
}

TEST_F(ApiHotkey_Register, AgainReleasesTheAtomOfThePreviousRegistration) {
  ApiHotkey record = Record(2, 37, system.AddWindow());
  record.Register();
  record.Unregister();
  record.vKey(38);
  record.Register();
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 0);
  EXPECT_EQ(system.AtomReferences("CONTROL+038"), 1);

  // Without Unregister in between, the atom still held is given back before the new one is added.
  record.Unregister();
  record.Register();  // holds CONTROL+038 (registered)
  const auto registeredUnder38 = record.hAtom();
  record.vKey(39);
  record.Register();
  EXPECT_EQ(system.AtomReferences("CONTROL+038"), 0);
  EXPECT_EQ(system.AtomReferences("CONTROL+039"), 1);
  system.UnregisterHotkey(record.hWnd(), registeredUnder38);  // the caller's job, left undone
  record.Unregister();
}

using ApiHotkey_Unregister = ApiHotkeyTest;
TEST_F(ApiHotkey_Unregister, EndsRegistrationAndGivesBackTheAtomButKeepsHAtom) {
  ApiHotkey record = Record(2, 37, system.AddWindow());
  record.Register();
  const auto atom = record.hAtom();
  record.Unregister();
  EXPECT_EQ(record.hKey(), 0);
  EXPECT_EQ(record.hAtom(), atom);
  EXPECT_TRUE(system.Registrations().empty());
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 0);
  ASSERT_EQ(system.unregisterCalls.size(), 1u);
  EXPECT_EQ(system.unregisterCalls[0].id, atom);

  record.Unregister();
  EXPECT_EQ(system.unregisterCalls.size(), 1u) << "a second Unregister does nothing";
  EXPECT_EQ(system.deletedAtoms.size(), 1u);
}

TEST_F(ApiHotkey_Unregister, ReleasedAtomIsNotDeletedAgainByTheNextRegister) {
  // Another program holds a reference to the same name all along.
  system.AddGlobalAtom("CONTROL+037");
  ApiHotkey record = Record(2, 37, system.AddWindow());
  record.Register();
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 2);
  record.Unregister();
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 1);
  record.Register();
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 2);
  record.Unregister();
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 1) << "the other holder keeps its reference";
}

TEST_F(ApiHotkey_Unregister, FailedRegistrationStillGivesItsAtomBack) {
  ApiHotkey holder = Record(2, 37, system.AddWindow());
  holder.Register();
  ApiHotkey refused = Record(2, 37, system.AddWindow());
  refused.Register();
  ASSERT_EQ(refused.hKey(), 0);
  ASSERT_EQ(system.AtomReferences("CONTROL+037"), 2);

  refused.Unregister();
  EXPECT_EQ(system.AtomReferences("CONTROL+037"), 1);
  EXPECT_EQ(system.unregisterCalls.size(), 0u) << "nothing was registered, nothing to end";
  EXPECT_EQ(system.Registrations().size(), 1u) << "the holder's registration stays";
  holder.Unregister();
  EXPECT_EQ(system.AtomCount(), 0u);
}

using ApiHotkey_RegisterReport = ApiHotkeyTest;
TEST_F(ApiHotkey_RegisterReport, ReachesTheControlFiledUnderUniqueKey) {
  const auto window = system.AddWindow();
  RecordingControl control(window, hotkey::WindowKey(window));
  RecordingControl other(window + 1, hotkey::WindowKey(window + 1));
  HotkeyControls().Add(other.UniqueKey(), &other);
  HotkeyControls().Add(control.UniqueKey(), &control);
  ApiHotkey holder = Record(2, 37, system.AddWindow());
  holder.Register();

  ApiHotkey refused = Record(2, 37, window);
  refused.Register();
  ASSERT_EQ(control.errors.size(), 1u);
  EXPECT_EQ(control.errors[0].first, "Hotkey already registered.\r\n");
  EXPECT_EQ(control.errors[0].second, "ApiHotkey:Register");
  EXPECT_TRUE(other.errors.empty());
  refused.Unregister();
  holder.Unregister();
}

TEST_F(ApiHotkey_RegisterReport, WithNoControlFiledIsDropped) {
  ApiHotkey holder = Record(2, 37, system.AddWindow());
  holder.Register();
  ApiHotkey refused = Record(2, 37, system.AddWindow());
  EXPECT_NO_THROW(refused.Register());
  EXPECT_EQ(refused.hKey(), 0);
  refused.Unregister();
  holder.Unregister();
}

TEST_F(ApiHotkey_RegisterReport, AFailingReceiverIsSwallowed) {
  const auto window = system.AddWindow();
  RecordingControl control(window, hotkey::WindowKey(window));
  control.failOnError = true;
  HotkeyControls().Add(control.UniqueKey(), &control);
  system.registrationRefusal = FakeHotkeySystem::kInvalidWindowHandle;
  ApiHotkey record = Record(2, 37, window);
  EXPECT_NO_THROW(record.Register());
  EXPECT_EQ(control.errors.size(), 1u);
  EXPECT_EQ(record.hKey(), 0);
  record.Unregister();
}

TEST_F(ApiHotkey_RegisterReport, FollowsTheLastErrorCodeNotTheResult) {
  const auto window = system.AddWindow();
  RecordingControl control(window, hotkey::WindowKey(window));
  HotkeyControls().Add(control.UniqueKey(), &control);

  // Refused while the last-error code says nothing: hKey tells, nobody is told.
  system.registrationRefusal = 0;
  ApiHotkey silent = Record(2, 37, window);
  silent.Register();
  EXPECT_EQ(silent.hKey(), 0);
  EXPECT_TRUE(control.errors.empty());
  silent.Unregister();

  // A code left over from an earlier call does not pass for a failure of a registration that
  // succeeds.
  system.registrationRefusal.reset();
  system.SetLastErrorCode(FakeHotkeySystem::kInvalidHandle);
  ApiHotkey fine = Record(2, 37, window);
  fine.Register();
  EXPECT_NE(fine.hKey(), 0);
  EXPECT_TRUE(control.errors.empty());
  fine.Unregister();
}

using LastApiErrorText = ApiHotkeyTest;
TEST_F(LastApiErrorText, TrimsBlanksAndKeepsTheLineBreak) {
  system.messageTexts[5] = "  Access is denied.  \r\n  ";
  system.SetLastErrorCode(5);
  EXPECT_EQ(hotkey::LastApiErrorText(system), "Access is denied.  \r\n");
  system.SetLastErrorCode(1409);
  EXPECT_EQ(hotkey::LastApiErrorText(system), "Hotkey already registered.\r\n");
  system.SetLastErrorCode(99999);
  EXPECT_EQ(hotkey::LastApiErrorText(system), "");
}

}  // namespace
}  // namespace lumenor::testing
