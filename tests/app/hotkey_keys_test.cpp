// The keys chosen in "快捷键" reach the two hotkey controls of the main window: what the system
// holds afterwards, over the fake that refuses a taken combination as the system does.
#include "app/hotkey_keys.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/main_window_design.h"
#include "hotkey/vb_hot_key.h"
#include "hotkey/hotkey_test_fixture.h"
#include "support/fake_hotkey_host.h"

namespace lumenor::testing {
namespace {

using settings::KeyChoice;

class ChangeKeysTest : public HotkeyTest {
 protected:
  struct Loaded {
    explicit Loaded(FakeHotkeySystem& system, std::span<const std::uint8_t> block) {
      host.window = system.AddWindow();
      control = std::make_unique<hotkey::VBHotKey>(host, system, system);
      control->OnCreate();
      control->LoadProperties(hotkey::SettingsBag::FromBlock(block));
    }
    ~Loaded() { control->OnDestroy(); }
    FakeHotkeyHost host;
    std::unique_ptr<hotkey::VBHotKey> control;
  };

  // Who holds the combination now: 0 for nobody.
  platform::WindowHandle Holder(const KeyChoice& key) const {
    for (const auto& r : system.Registrations()) {
      if (r.modifiers == static_cast<std::uint32_t>(key.modifiers) &&
          r.virtualKey == static_cast<std::uint32_t>(key.virtualKey)) {
        return r.window;
      }
    }
    return 0;
  }
};

TEST_F(ChangeKeysTest, TheSystemHoldsTheKeysInForceAndATakenKeyKeepsTheOldOne) {
  const KeyChoice ctrlLeft{2, 37}, ctrlRight{2, 39}, altD{1, 'D'}, altShiftB{1 | 4, 'B'};
  struct Row {
    const char* name;
    KeyChoice darker, brighter;
    bool darkerTakenElsewhere;
    KeyChoice darkerInForce, brighterInForce;
    const char* takenText;  // in the balloon, or nullptr for none
  } rows[] = {
      {"two free keys", altD, altShiftB, false, altD, altShiftB, nullptr},
      {"the two swapped", ctrlRight, ctrlLeft, false, ctrlRight, ctrlLeft, nullptr},
      {"darker's new key held by another program", altD, altShiftB, true, ctrlLeft, altShiftB,
       "热键 Alt+D 已被其他程序占用："},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.darkerTakenElsewhere) {
      system.RegisterHotkey(system.AddWindow(), 1, static_cast<std::uint32_t>(row.darker.modifiers),
                            static_cast<std::uint32_t>(row.darker.virtualKey));
    }
    {
      Loaded darker(system, app::kHotkeyLeftProperties);
      Loaded brighter(system, app::kHotkeyRightProperties);
      const app::KeysInForce keys =
          app::ChangeKeys(*darker.control, *brighter.control, row.darker, row.brighter);
      EXPECT_EQ(keys.darker, row.darkerInForce);
      EXPECT_EQ(keys.brighter, row.brighterInForce);
      EXPECT_EQ(Holder(row.darkerInForce), darker.host.window);
      EXPECT_EQ(Holder(row.brighterInForce), brighter.host.window);
      if (row.takenText == nullptr) {
        EXPECT_EQ(keys.taken, "");
      } else {
        EXPECT_EQ(keys.taken.rfind(row.takenText, 0), 0u) << keys.taken;
      }
      for (const KeyChoice& old : {ctrlLeft, ctrlRight}) {
        if (!(old == keys.darker) && !(old == keys.brighter)) {
          EXPECT_EQ(Holder(old), 0u) << "an old key is still registered";
        }
      }
    }
    ClearRegistries();
  }
}

TEST(BannerText, NamesTheKeysInForce) {
  constexpr std::string_view kDesign = "按住ctrl+←变黑,按住ctrl+→变亮,可实现显示器极限全黑.";
  struct Row {
    KeyChoice darker, brighter;
    std::string_view expected;
  } rows[] = {
      {{2, 37}, {2, 39}, kDesign},
      {{1 | 2, 'D'}, {2, 39}, "按住Ctrl+Alt+D变黑,按住ctrl+→变亮,可实现显示器极限全黑."},
      {{2, 37}, {8 | 4, 38}, "按住ctrl+←变黑,按住Shift+Win+↑变亮,可实现显示器极限全黑."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(app::BannerText(kDesign, row.darker, row.brighter), row.expected);
  }
}

}  // namespace
}  // namespace lumenor::testing
