#pragma once
// Tests of the hotkey subsystem share the two process-wide registries: each test starts with none
// and leaves none behind, whatever it filed.
#include <gtest/gtest.h>

#include <string>

#include "hotkey/hotkey_subclass.h"
#include "support/fake_hotkey_platform.h"

namespace lumenor::testing {

class HotkeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const bool leftOver = hotkey::SubclassedWindowsExist() || hotkey::HotkeyControlsExist();
    ClearRegistries();
    ASSERT_FALSE(leftOver) << "an earlier test left the hotkey registries behind";
  }
  void TearDown() override { ClearRegistries(); }

  void ClearRegistries() {
    if (hotkey::HotkeyControlsExist()) {
      auto& controls = hotkey::HotkeyControls();
      while (controls.Count() > 0) controls.Remove(std::string(controls.KeyAt(1)));
    }
    if (hotkey::SubclassedWindowsExist()) {
      auto& windows = hotkey::SubclassedWindows();
      while (windows.Count() > 0) windows.Remove(std::string(windows.KeyAt(1)));
    }
    hotkey::UnsubclassWindow(system, 0);  // discards the empty registries
  }

  FakeHotkeySystem system;
};

// A control in HotkeyControls that records what it is offered; it can be made to fail.
class RecordingControl final : public hotkey::HotkeyControl {
 public:
  RecordingControl(platform::WindowHandle window, std::string key)
      : window_(window), key_(std::move(key)) {}

  platform::WindowHandle hWnd() const override {
    if (failOnWindow) throw hotkey::ObjectNotSetError();
    return window_;
  }
  void RaiseKeyPressEvent(std::int32_t vKey, std::int32_t Modifier) override {
    presses.emplace_back(vKey, Modifier);
    if (onPress) onPress();
    if (failOnPress) throw hotkey::ObjectNotSetError();
  }
  std::string UniqueKey() const override { return key_; }
  void RaiseError(const std::string& Message, const std::string& Source) override {
    errors.emplace_back(Message, Source);
    if (failOnError) throw hotkey::ObjectNotSetError();
  }

  std::vector<std::pair<std::int32_t, std::int32_t>> presses;
  std::vector<std::pair<std::string, std::string>> errors;
  std::function<void()> onPress;
  bool failOnWindow = false;
  bool failOnPress = false;
  bool failOnError = false;

 private:
  platform::WindowHandle window_;
  std::string key_;
};

}  // namespace lumenor::testing
