// The hotkey contract against the fake hotkey system.
#include <memory>

#include "hotkey/settings_bag.h"
#include "hotkey/vb_hot_key.h"
#include "hotkey_contract.h"
#include "support/fake_hotkey_host.h"
#include "support/fake_hotkey_platform.h"

namespace lumenor::testing {
namespace {

class FakeHotkeyEnvironment {
 public:
  platform::HotkeyPlatform& Hotkeys() { return system_; }
  platform::WindowProcedures& Procedures() { return system_; }
  platform::WindowHandle NewWindow() { return system_.AddWindow(); }
  std::intptr_t SendProbe(platform::WindowHandle window) {
    return system_.Send(window, 0x8001, 0, 0);
  }
  std::uint16_t FindAtom(const char* name) { return system_.FindAtom(name); }

  std::unique_ptr<LoadedHotkeyControl> LoadControl(std::span<const std::uint8_t> block,
                                                   std::function<void()> pressed) {
    auto control = std::make_unique<Control>(system_);
    control->control.HotkeyPressed = std::move(pressed);
    control->control.OnCreate();
    control->control.LoadProperties(hotkey::SettingsBag::FromBlock(block));
    return control;
  }

  void PostHotkey(platform::WindowHandle window, std::uint32_t modifiers, std::uint32_t vKey) {
    system_.Send(window, hotkey::kHotkeyMessage, 0,
                 static_cast<std::intptr_t>((vKey << 16) | modifiers));
  }

 private:
  struct Control final : LoadedHotkeyControl {
    explicit Control(FakeHotkeySystem& system) : control(host, system, system) {
      host.window = system.AddWindow();
    }
    ~Control() override { control.OnDestroy(); }
    platform::WindowHandle Window() const override { return host.window; }
    FakeHotkeyHost host;
    hotkey::VBHotKey control;
  };

  FakeHotkeySystem system_;
};

static_assert(FakeHotkeySystem::kClassResult == kProbeAnswer);

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, HotkeyPlatform_Contract, FakeHotkeyEnvironment);

}  // namespace
}  // namespace lumenor::testing
