#include "app/main_window_host_win32.h"

#include <utility>

#include "app/main_window.h"
#include "dimming/darkness_road.h"
#include "platform/dialogs_win32.h"
#include "platform/program_files_win32.h"
#include "platform/program_window_win32.h"
#include "settings/settings_keeper.h"

namespace lumenor::app {

MainWindowHost::~MainWindowHost() {
  ending_ = true;
  form1_.reset();
  unloaded_.clear();
}

void MainWindowHost::Load() {
  if (form1_) return;
  const settings::Settings& chosen = p_.settings.Current();
  form1_ = MainWindowForm::Load(p_.instance, p_.road, p_.displays, p_.notices,
                                MainWindowForm::Callbacks{p_.endProgram, [this] { OnUnloaded(); }},
                                settings::KeyPair{chosen.darkerKey, chosen.brighterKey});
  if (!loadedOnce_ && chosen.restoreAtStart && chosen.lastState) {
    form1_->RestoreState(*chosen.lastState);
  }
  loadedOnce_ = true;
}

void MainWindowHost::Show() {
  if (ending_) return;
  Load();
  form1_->Show();
}

std::optional<settings::KeyPair> MainWindowHost::ChangeHotkeys(const settings::KeyPair& wanted) {
  if (ending_) return std::nullopt;
  return form1_ ? form1_->ChangeHotkeys(wanted) : wanted;
}

// The close box unloaded Form1. This runs inside its window procedure, so the form is deleted
// from the message loop afterwards; a show before then loads a new one.
void MainWindowHost::OnUnloaded() {
  if (ending_ || !form1_) return;
  lastState_ = form1_->State();
  unloaded_.push_back(std::move(form1_));
  p_.program.Post([this] { unloaded_.clear(); });
}

void MainWindowHost::KeepStateAtEnd() {
  if (ending_) return;
  ending_ = true;
  if (form1_) lastState_ = form1_->State();
  if (!lastState_) return;
  lastState_->backlights = p_.road.State().backlights;
  p_.settings.AtEnd(*lastState_);
}

void MainWindowHost::RestoreDefaults() {
  if (ending_) return;
  if (form1_) return form1_->RestoreDefaults();
  p_.road.Take({dimming::Request::Kind::Restore, 0, dimming::Source::Command});
  platform::MessageBoxDialogs dialogs;
  platform::DirectoryFiles programFiles;
  RestoreReferences(p_.displays, programFiles, dialogs);
}

bool MainWindowHost::PreTranslate(MSG& msg) {
  if (!form1_) return false;
  HWND window = form1_->Window();
  return window != nullptr && IsDialogMessageW(window, &msg) != FALSE;
}

}  // namespace lumenor::app
