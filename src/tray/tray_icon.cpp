#include "tray/tray_icon.h"

#include <new>

#include "platform/notify_icon.h"

namespace lumenor::tray {

IconAction DecideIconAction(std::uint32_t mouseMessage) {
  switch (mouseMessage) {
    case kWmRButtonUp:
      return IconAction::OpenMenu;
    case kWmLButtonDblClk:
      return IconAction::ShowMainWindow;
    default:
      return IconAction::None;
  }
}

std::string ErrorReport(std::int32_t number, std::string_view description,
                        std::string_view procedure) {
  std::string text = "Error " + std::to_string(number) + " (";
  text += description;
  text += ") in procedure ";
  text += procedure;
  text += " of Class Module quillbox";
  return text;
}

TrayIcon::TrayIcon(TrayHost& host, platform::NotifyIcon& shell, const NotifyRecordLayout& layout)
    : host_(host), shell_(shell), record_(layout) {}

template <typename Body>
void TrayIcon::Guarded(std::string_view procedure, Body body) {
  try {
    body();
  } catch (const TrayError& e) {
    host_.ShowErrorReport(ErrorReport(e.Number(), e.what(), procedure));
  } catch (const std::bad_alloc&) {
    host_.ShowErrorReport(ErrorReport(7, "Out of memory", procedure));
  }
}

std::int16_t TrayIcon::AddTrayIcon(std::string_view tips) {
  Guarded("addtrayicon", [&] {
    record_.SetWindow(host_.Window());
    // The identifier is the numeric value of the window's own icon handle; handles fit 32 bits.
    record_.SetId(static_cast<std::uint32_t>(host_.OwnIcon()));
    record_.SetFlags(kTrayFlags);
    record_.SetCallbackMessage(kTrayCallbackMessage);
    // An unreadable tray.ico falls back to the window's icon too: an empty slot in the
    // notification area would leave the user nothing to click.
    const std::uint64_t fromFile = host_.LoadIconFile();
    record_.SetIcon(fromFile != 0 ? fromFile : host_.OwnIcon());
    record_.SetTip(tips);
    added_ = true;
    if (!AddToShell()) {
      retriesLeft_ = kAddRetries;
      host_.StartAddRetryTimer(kAddRetryIntervalMs);
    }
  });
  return 0;
}

bool TrayIcon::AddToShell() {
  // An add that timed out may have been taken after all: then the icon answers a modify.
  return shell_.Notify(platform::NotifyAction::Add, record_.Bytes()) ||
         shell_.Notify(platform::NotifyAction::Modify, record_.Bytes());
}

void TrayIcon::OnAddRetryTimer() {
  if (!added_ || AddToShell() || --retriesLeft_ <= 0) host_.StopAddRetryTimer();
}

std::int16_t TrayIcon::RemoveTrayIcon() {
  Guarded("removetrayicon", [&] {
    if (!added_) return;
    added_ = false;
    host_.StopBalloonTimer();
    host_.StopAddRetryTimer();
    shell_.Notify(platform::NotifyAction::Delete, record_.Bytes());
  });
  return 0;
}

void TrayIcon::TrayBalloon(std::string_view sBaloonText, std::string_view sBallonTitle,
                           std::int16_t contime) {
  record_.SetInfoTitle(sBallonTitle);
  record_.SetInfo(sBaloonText);
  shell_.Notify(platform::NotifyAction::Modify, record_.Bytes());
  if (contime > 0) host_.StartBalloonTimer(static_cast<std::uint32_t>(contime));
}

void TrayIcon::OnBalloonTimer() {
  record_.SetInfoTitle("");
  record_.SetInfo("");
  shell_.Notify(platform::NotifyAction::Modify, record_.Bytes());
  host_.StopBalloonTimer();
}

void TrayIcon::OnIconMessage(std::uint32_t mouseMessage) {
  switch (DecideIconAction(mouseMessage)) {
    case IconAction::OpenMenu:
      host_.OpenMenu();
      break;
    case IconAction::ShowMainWindow:
      host_.ShowMainWindow();
      break;
    case IconAction::None:
      break;
  }
}

void TrayIcon::OnTaskbarCreated() {
  if (!added_) return;
  // A balloon still in the record would show a second time: the icon comes back without it.
  if (record_.Bytes()[record_.Layout().szInfo] != 0) {
    record_.SetInfoTitle("");
    record_.SetInfo("");
    host_.StopBalloonTimer();
  }
  if (AddToShell()) host_.StopAddRetryTimer();
}

}  // namespace lumenor::tray
