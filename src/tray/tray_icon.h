#pragma once
// The tray form's behaviour as a plain object: the notification-area icon with its tooltip and
// balloon, the balloon timer, the icon's mouse callback and the error reports of addtrayicon and
// removetrayicon. The Win32 tray form implements TrayHost and forwards its messages here.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/failure.h"
#include "tray/notify_record.h"

namespace lumenor::platform {
class NotifyIcon;
}

namespace lumenor::tray {

// Mouse messages the icon reports in the low word of the callback's lParam.
inline constexpr std::uint32_t kWmMouseMove = 0x200;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x203;
inline constexpr std::uint32_t kWmRButtonDown = 0x204;
inline constexpr std::uint32_t kWmRButtonUp = 0x205;  // 517

enum class IconAction { None, OpenMenu, ShowMainWindow };

// When the shell is not ready for the icon (at sign-in), it is added again this often, for a few
// seconds; after that, the shell's "TaskbarCreated" brings it.
inline constexpr std::uint32_t kAddRetryIntervalMs = 500;
inline constexpr int kAddRetries = 10;

// Right-button-up opens the menu; a left double-click shows the main window; nothing else acts.
IconAction DecideIconAction(std::uint32_t mouseMessage);

// "Error <number> (<description>) in procedure <procedure> of Class Module quillbox"
std::string ErrorReport(std::int32_t number, std::string_view description,
                        std::string_view procedure);

// An error raised inside addtrayicon or removetrayicon: its number and description (UTF-8).
class TrayError : public platform::Failure {
 public:
  TrayError(std::int32_t number, const std::string& description)
      : platform::Failure(description), number_(number) {}
  std::int32_t Number() const { return number_; }

 private:
  std::int32_t number_;
};

// What the tray form's window provides.
class TrayHost {
 public:
  virtual ~TrayHost() = default;
  // The window that receives the icon's messages, and the handle of the icon it carries.
  virtual std::uint64_t Window() const = 0;
  virtual std::uint64_t OwnIcon() const = 0;
  // tray.ico from the program's directory at 16 × 16, or 0 when there is no such file or it
  // holds no icon. May throw TrayError.
  virtual std::uint64_t LoadIconFile() = 0;
  // Timer_no_boloon: ticks once (OnBalloonTimer) after ms milliseconds unless stopped first.
  virtual void StartBalloonTimer(std::uint32_t ms) = 0;
  virtual void StopBalloonTimer() = 0;
  // The retry of an icon the shell did not take: ticks (OnAddRetryTimer) every ms until stopped.
  virtual void StartAddRetryTimer(std::uint32_t ms) = 0;
  virtual void StopAddRetryTimer() = 0;
  virtual void OpenMenu() = 0;        // myhame at the mouse position
  virtual void ShowMainWindow() = 0;  // Form1, loading it when it is not loaded
  // A message box with an OK button only, no icon, the program's title as caption.
  virtual void ShowErrorReport(std::string_view text) = 0;
};

class TrayIcon {
 public:
  TrayIcon(TrayHost& host, platform::NotifyIcon& shell,
           const NotifyRecordLayout& layout = kNotifyLayout);

  // addtrayicon: fills the record (window, identifier = the window's own icon handle, flags,
  // callback, icon, tooltip) and adds the icon, and again for a few seconds while the shell does
  // not take it. Errors are reported, never passed on. Returns 0.
  std::int16_t AddTrayIcon(std::string_view tips);
  // removetrayicon: deletes the icon once it was added; a second call does nothing. Returns 0.
  std::int16_t RemoveTrayIcon();
  // Shows a balloon; with contime > 0 the program takes it down after contime milliseconds,
  // with 0 (or less) the platform's own timeout applies.
  void TrayBalloon(std::string_view sBaloonText, std::string_view sBallonTitle,
                   std::int16_t contime);

  void OnBalloonTimer();                           // Timer_no_boloon ticked
  void OnIconMessage(std::uint32_t mouseMessage);  // the callback's lParam, low word
  void OnTaskbarCreated();                         // the shell restarted: add the icon again
  void OnAddRetryTimer();                          // the shell did not take the icon: again

  bool IconAdded() const { return added_; }
  const NotifyRecord& Record() const { return record_; }

 private:
  template <typename Body>
  void Guarded(std::string_view procedure, Body body);

  TrayHost& host_;
  platform::NotifyIcon& shell_;
  NotifyRecord record_;
  // Adds the icon; false while the shell does not take it.
  bool AddToShell();

  bool added_ = false;  // the icon belongs in the notification area: added and not removed
  int retriesLeft_ = 0;
};

}  // namespace lumenor::tray
