#include "app/settings_commands_win32.h"

#include <string_view>
#include <utility>

#include "dimming/darkness_road.h"
#include "overlay/overlay_set.h"
#include "platform/notices.h"
#include "settings/hotkey_dialog_win32.h"
#include "settings/settings_keeper.h"
#include "settings/start_with_windows_win32.h"

namespace lumenor::app {

namespace {
constexpr std::string_view kStartWithWindowsFailedText = "开机启动无法设置：注册表拒绝写入";
}  // namespace

tray::SettingsChecks SettingsCommands::Checks() const {
  const settings::Settings& current = t_.settings.Current();
  return {settings::StartsWithWindows(), current.restoreAtStart, current.includeInScreenshots,
          current.showLevel};
}

void SettingsCommands::Choose(tray::SettingsItem item) {
  settings::Settings changed = t_.settings.Current();
  switch (item) {
    case tray::SettingsItem::Hotkeys:
      ChooseHotkeys();
      break;
    case tray::SettingsItem::StartWithWindows:
      if (!settings::SetStartWithWindows(!settings::StartsWithWindows())) {
        t_.notices.Show(platform::kNoticeTitle, kStartWithWindowsFailedText);
      }
      break;
    case tray::SettingsItem::RestoreAtStart:
      changed.restoreAtStart = !changed.restoreAtStart;
      t_.settings.Change(std::move(changed));
      break;
    case tray::SettingsItem::IncludeInScreenshots:
      changed.includeInScreenshots = !changed.includeInScreenshots;
      t_.settings.Change(std::move(changed));
      t_.overlays.KeepOutOfCapture(!t_.settings.Current().includeInScreenshots);
      break;
    case tray::SettingsItem::ShowLevel:
      // The level panel reads it at each step: nothing else to put in force.
      changed.showLevel = !changed.showLevel;
      t_.settings.Change(std::move(changed));
      break;
  }
}

void SettingsCommands::KeepDisplayChoice(const std::string& identity, bool included) {
  settings::Settings changed = t_.settings.Current();
  std::erase(changed.displaysLeftOut, identity);
  if (!included) changed.displaysLeftOut.push_back(identity);
  t_.settings.Change(std::move(changed));
}

void SettingsCommands::ChooseBacklightFirst(bool on) {
  t_.road.SetBacklightFirst(on);
  settings::Settings changed = t_.settings.Current();
  changed.backlightFirst = on;
  t_.settings.Change(std::move(changed));
}

// "快捷键…": the keys in force in the dialog; those the system takes are kept.
void SettingsCommands::ChooseHotkeys() {
  if (choosingHotkeys_) return;
  choosingHotkeys_ = true;
  const settings::KeyPair inForce{t_.settings.Current().darkerKey,
                                  t_.settings.Current().brighterKey};
  const std::optional<settings::KeyPair> chosen =
      settings::AskForHotkeys(t_.instance, t_.dialogOwner(), inForce);
  choosingHotkeys_ = false;
  if (!chosen) return;
  const std::optional<settings::KeyPair> kept = t_.changeHotkeys(*chosen);
  if (!kept) return;
  settings::Settings changed = t_.settings.Current();
  changed.darkerKey = kept->darker;
  changed.brighterKey = kept->brighter;
  t_.settings.Change(std::move(changed));
}

}  // namespace lumenor::app
