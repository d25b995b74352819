#include "app/settings_commands_win32.h"

#include <string_view>
#include <utility>

#include "dimming/backlight_keepers.h"
#include "display/display_set.h"
#include "overlay/overlay_set.h"
#include "platform/dialogs_win32.h"
#include "platform/notices.h"
#include "settings/hotkey_dialog_win32.h"
#include "settings/program_place_win32.h"
#include "settings/settings_keeper.h"
#include "settings/start_with_windows_win32.h"

namespace lumenor::app {

namespace {
constexpr std::string_view kStartWithWindowsFailedText = "开机启动无法设置：注册表拒绝写入";
constexpr std::string_view kUnpackFirstText =
    "请先把 Lumenor 解压到您选择的文件夹，再设置开机启动。";
}  // namespace

void SettingsCommands::PutInForce() {
  for (const std::string& identity : t_.settings.Current().displaysLeftOut) {
    t_.displays.SetIncluded(identity, false);  // nothing for a display not attached now
  }
  PutScreenshotsInForce();
}

void SettingsCommands::PutScreenshotsInForce() {
  t_.overlays.KeepOutOfCapture(!t_.settings.Current().includeInScreenshots);
}

tray::SettingsChecks SettingsCommands::Checks() const {
  return {settings::StartsWithWindows(), t_.settings.Current().restoreAtStart,
          t_.settings.Current().includeInScreenshots};
}

void SettingsCommands::Choose(tray::SettingsItem item) {
  settings::Settings changed = t_.settings.Current();
  switch (item) {
    case tray::SettingsItem::Hotkeys:
      ChooseHotkeys();
      break;
    case tray::SettingsItem::StartWithWindows:
      // A copy run out of a zip is deleted by Windows later: nothing may start it at sign-in.
      if (settings::RunsFromTemporaryFolder()) {
        platform::MessageBoxDialogs(t_.dialogOwner())
            .ShowMessage(kUnpackFirstText, platform::kProgramTitle,
                         platform::MessageIcon::Exclamation);
      } else if (!settings::SetStartWithWindows(!settings::StartsWithWindows())) {
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
      PutScreenshotsInForce();
      break;
  }
}

void SettingsCommands::ChooseDisplay(const std::string& identity, bool included) {
  t_.displays.SetIncluded(identity, included);
  settings::Settings changed = t_.settings.Current();
  std::erase(changed.displaysLeftOut, identity);
  if (!included) changed.displaysLeftOut.push_back(identity);
  t_.settings.Change(std::move(changed));
}

bool SettingsCommands::BacklightFirst() const {
  return t_.settings.Current().backlightFirst;
}

void SettingsCommands::ChooseBacklightFirst(bool on) {
  // The road reads it from the settings at each step.
  settings::Settings changed = t_.settings.Current();
  changed.backlightFirst = on;
  t_.settings.Change(std::move(changed));
}

std::vector<display::DisplayChoice> SettingsCommands::DisplayChoices() const {
  std::vector<display::DisplayChoice> choices = t_.displays.Choices();
  if (t_.keepers == nullptr) return choices;
  for (display::DisplayChoice& choice : choices) {
    if (const std::optional<int> percent = t_.keepers->Percent(choice.identity))
      choice.label = dimming::WithBacklight(std::move(choice.label), *percent);
  }
  return choices;
}

bool SettingsCommands::AnyBacklight() const {
  if (t_.keepers == nullptr) return false;
  for (const dimming::DisplayAbility& display : t_.keepers->Abilities()) {
    if (display.backlight) return true;
  }
  return false;
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
