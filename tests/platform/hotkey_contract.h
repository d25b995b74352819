#pragma once
// What the hotkey subsystem relies on the system doing, as one typed suite: atoms named after the
// combination and given back, one registration per combination with error 1409 and the system's
// text for the second, window procedures that can be replaced and put back, and WM_HOTKEY reaching
// a loaded hotkey control. It runs against the fake natively and against the real calls under
// Wine.
//
// An instantiation names an environment type, default-constructible, with
//   platform::HotkeyPlatform& Hotkeys();
//   platform::WindowProcedures& Procedures();     // its HotkeyProcedure() runs the dispatch
//   platform::WindowHandle NewWindow();           // a window of this thread; its own procedure
//                                                 // answers SendProbe with kProbeAnswer
//   std::intptr_t SendProbe(platform::WindowHandle);
//   std::uint16_t FindAtom(const char* name);     // 0 when the table has no such atom
//   std::unique_ptr<LoadedHotkeyControl> LoadControl(std::span<const std::uint8_t> block,
//                                                    std::function<void()> pressed);
//   void PostHotkey(platform::WindowHandle window, std::uint32_t modifiers, std::uint32_t vKey);
//                                                 // posts WM_HOTKEY and runs the queue empty
// Windows and controls go with the environment.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window_design.h"
#include "hotkey/api_hotkey.h"
#include "hotkey/hotkey_subclass.h"
#include "platform/hotkey_platform.h"

namespace lumenor::testing {

inline constexpr std::intptr_t kProbeAnswer = 4242;
inline constexpr std::uint32_t kErrorHotkeyAlreadyRegistered = 1409;

class LoadedHotkeyControl {
 public:
  virtual ~LoadedHotkeyControl() = default;
  virtual platform::WindowHandle Window() const = 0;
};

// A control filed under a window key that keeps the failure reports it is given.
class ReportCollector final : public hotkey::HotkeyControl {
 public:
  explicit ReportCollector(platform::WindowHandle window) : window_(window) {}
  platform::WindowHandle hWnd() const override { return window_; }
  void RaiseKeyPressEvent(std::int32_t, std::int32_t) override {}
  std::string UniqueKey() const override { return hotkey::WindowKey(window_); }
  void RaiseError(const std::string& Message, const std::string& Source) override {
    reports.emplace_back(Message, Source);
  }
  std::vector<std::pair<std::string, std::string>> reports;

 private:
  platform::WindowHandle window_;
};

template <typename Environment>
class HotkeyPlatform_Contract : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(hotkey::SubclassedWindowsExist() || hotkey::HotkeyControlsExist())
        << "the registries are left over from an earlier test";
  }
  void TearDown() override {
    EXPECT_FALSE(hotkey::SubclassedWindowsExist());
    EXPECT_FALSE(hotkey::HotkeyControlsExist());
  }

  hotkey::ApiHotkey ControlLeft(platform::WindowHandle window) {
    hotkey::ApiHotkey record(env_.Hotkeys());
    record.ControlKey(hotkey::kTrue);
    record.vKey(37);
    record.hWnd(window);
    return record;
  }

  Environment env_;
};

TYPED_TEST_SUITE_P(HotkeyPlatform_Contract);

TYPED_TEST_P(HotkeyPlatform_Contract, RegistrationAddsTheAtomAndUnregisterRemovesIt) {
  ASSERT_EQ(this->env_.FindAtom("CONTROL+037"), 0) << "someone holds the atom already";
  hotkey::ApiHotkey record = this->ControlLeft(this->env_.NewWindow());
  record.Register();
  EXPECT_NE(record.hKey(), 0);
  const std::uint16_t atom = this->env_.FindAtom("CONTROL+037");
  EXPECT_NE(atom, 0);
  EXPECT_EQ(record.hAtom(), static_cast<std::int16_t>(atom));
  EXPECT_LT(record.hAtom(), 0) << "a string atom, 0xC000 and above, reads negative";

  hotkey::ApiHotkey readBack(this->env_.Hotkeys());
  readBack.ReadFromAtom(record.hAtom());
  EXPECT_EQ(readBack.Modifier(), 2);
  EXPECT_EQ(readBack.vKey(), 37);

  record.Unregister();
  EXPECT_EQ(record.hKey(), 0);
  EXPECT_EQ(this->env_.FindAtom("CONTROL+037"), 0);
}

TYPED_TEST_P(HotkeyPlatform_Contract, TakenCombinationFailsWith1409AndTheSystemsText) {
  auto& hotkeys = this->env_.Hotkeys();
  const auto firstWindow = this->env_.NewWindow();
  const auto secondWindow = this->env_.NewWindow();
  hotkey::ApiHotkey first = this->ControlLeft(firstWindow);
  first.Register();
  ASSERT_NE(first.hKey(), 0);

  // The call itself.
  hotkeys.SetLastErrorCode(0);
  EXPECT_EQ(hotkeys.RegisterHotkey(secondWindow, 77, 2, 37), 0);
  EXPECT_EQ(hotkeys.LastErrorCode(), kErrorHotkeyAlreadyRegistered);
  EXPECT_EQ(hotkeys.SystemMessageText(kErrorHotkeyAlreadyRegistered),
            "Hotkey already registered.\r\n");

  // And through the record, to the control filed under its window key.
  ReportCollector control(secondWindow);
  hotkey::HotkeyControls().Add(control.UniqueKey(), &control);
  hotkey::ApiHotkey second = this->ControlLeft(secondWindow);
  second.Register();
  EXPECT_EQ(second.hKey(), 0);
  EXPECT_EQ(second.hAtom(), first.hAtom()) << "the same name is the same atom";
  ASSERT_EQ(control.reports.size(), 1u);
  EXPECT_EQ(control.reports[0].first, "Hotkey already registered.\r\n");
  EXPECT_EQ(control.reports[0].second, "ApiHotkey:Register");

  hotkey::UnsubclassWindow(this->env_.Procedures(), secondWindow);  // takes the control out
  second.Unregister();
  EXPECT_NE(this->env_.FindAtom("CONTROL+037"), 0) << "the first record still holds it";
  first.Unregister();
  EXPECT_EQ(this->env_.FindAtom("CONTROL+037"), 0);
}

TYPED_TEST_P(HotkeyPlatform_Contract, SubclassedWindowGetsItsProcedureBack) {
  auto& procedures = this->env_.Procedures();
  const auto window = this->env_.NewWindow();
  const auto before = procedures.GetProcedure(window);
  ASSERT_NE(before, 0);

  hotkey::SubclassWindow(procedures, window);
  EXPECT_EQ(procedures.GetProcedure(window), procedures.HotkeyProcedure());
  EXPECT_EQ(hotkey::SubclassedWindows().Item(hotkey::WindowKey(window)).OldWndProc, before);
  EXPECT_EQ(this->env_.SendProbe(window), kProbeAnswer) << "messages pass on to the old procedure";

  hotkey::UnsubclassWindow(procedures, window);
  EXPECT_EQ(procedures.GetProcedure(window), before);
  EXPECT_EQ(this->env_.SendProbe(window), kProbeAnswer);
}

TYPED_TEST_P(HotkeyPlatform_Contract, PostedHotkeyReachesHotkeyPressed) {
  int pressed = 0;
  auto control = this->env_.LoadControl(app::kHotkeyLeftProperties, [&] { ++pressed; });
  ASSERT_NE(control, nullptr);
  EXPECT_NE(this->env_.FindAtom("CONTROL+037"), 0);
  EXPECT_TRUE(hotkey::HotkeyControls().Contains(hotkey::WindowKey(control->Window())));

  this->env_.PostHotkey(control->Window(), 2, 37);
  EXPECT_EQ(pressed, 1);
  this->env_.PostHotkey(control->Window(), 2, 39);
  this->env_.PostHotkey(control->Window(), 6, 37);
  EXPECT_EQ(pressed, 1) << "another combination raises nothing";
  this->env_.PostHotkey(control->Window(), 2, 37);
  EXPECT_EQ(pressed, 2);

  control.reset();
  EXPECT_EQ(this->env_.FindAtom("CONTROL+037"), 0);
}

REGISTER_TYPED_TEST_SUITE_P(HotkeyPlatform_Contract, RegistrationAddsTheAtomAndUnregisterRemovesIt,
                            TakenCombinationFailsWith1409AndTheSystemsText,
                            SubclassedWindowGetsItsProcedureBack, PostedHotkeyReachesHotkeyPressed);

}  // namespace lumenor::testing
