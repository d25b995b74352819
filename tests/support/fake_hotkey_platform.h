#pragma once
// The hotkey services as the system behaves: global atoms counted by reference and named without
// regard to case, a combination registered once system-wide (a second registration fails with
// 1409 and the system's text), a successful call leaving the last-error code alone, and windows
// whose procedures chain and can be put back. Procedures are numbers that stand for callables;
// HotkeyProcedure() runs the core's hotkey dispatch.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hotkey_platform.h"

namespace lumenor::testing {

using platform::WindowHandle;
using platform::WindowProcedure;

class FakeHotkeySystem : public platform::HotkeyPlatform, public platform::WindowProcedures {
 public:
  using Procedure =
      std::function<std::intptr_t(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t)>;

  static constexpr std::uint32_t kInvalidHandle = 6;
  static constexpr std::uint32_t kInvalidParameter = 87;
  static constexpr std::uint32_t kInvalidWindowHandle = 1400;
  static constexpr std::uint32_t kHotkeyAlreadyRegistered = 1409;
  static constexpr std::uint32_t kHotkeyNotRegistered = 1419;
  static constexpr std::intptr_t kClassResult = 4242;  // what every window's own procedure returns

  struct Message {
    WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  struct Registration {
    WindowHandle window;
    std::int32_t id;
    std::uint32_t modifiers;
    std::uint32_t virtualKey;
  };

  FakeHotkeySystem();

  // Windows. A new window runs its own procedure, which logs the message in classMessages and
  // returns kClassResult. handle 0 picks the next free handle.
  WindowHandle AddWindow(WindowHandle handle = 0);
  // The window goes, and with it its hotkeys.
  void RemoveWindow(WindowHandle window);
  WindowProcedure ClassProcedure(WindowHandle window) const;
  // A procedure value that runs the callable.
  WindowProcedure AddProcedure(Procedure procedure);
  // Runs the window's current procedure, as SendMessage would.
  std::intptr_t Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam);
  // The user presses a combination: WM_HOTKEY goes to the window that registered it, with the
  // key code in the high and the flags in the low word of lParam. False when nobody holds it.
  bool PressHotkey(std::uint32_t modifiers, std::uint32_t virtualKey);

  // Observation.
  int AtomReferences(std::string_view name) const;  // 0 when the table has no such atom
  std::uint16_t FindAtom(std::string_view name) const;
  std::size_t AtomCount() const { return atoms_.size(); }
  const std::vector<Registration>& Registrations() const { return registrations_; }

  std::vector<Registration> registerCalls;    // every RegisterHotKey, in order
  std::vector<Registration> unregisterCalls;  // every UnregisterHotKey, in order
  std::vector<std::uint16_t> deletedAtoms;    // every GlobalDeleteAtom, in order
  std::vector<Message> classMessages;         // messages that reached a window's own procedure
  std::vector<Message> defaultMessages;       // messages that reached DefWindowProc
  std::intptr_t defaultResult = 17;           // what DefWindowProc returns

  // Failures on demand.
  bool atomTableFull = false;                        // GlobalAddAtomA fails
  std::optional<std::uint32_t> registrationRefusal;  // RegisterHotKey fails with this last error

  std::map<std::uint32_t, std::string> messageTexts;

  // HotkeyPlatform
  std::uint16_t AddGlobalAtom(std::string_view name) override;
  void DeleteGlobalAtom(std::uint16_t atom) override;
  std::size_t GlobalAtomName(std::uint16_t atom, std::span<char> buffer) override;
  std::int32_t RegisterHotkey(WindowHandle window, std::int32_t id, std::uint32_t modifiers,
                              std::uint32_t virtualKey) override;
  void UnregisterHotkey(WindowHandle window, std::int32_t id) override;
  std::uint32_t LastErrorCode() override { return lastError_; }
  void SetLastErrorCode(std::uint32_t code) override { lastError_ = code; }
  std::string SystemMessageText(std::uint32_t code) override;

  // WindowProcedures
  WindowProcedure GetProcedure(WindowHandle window) override;
  WindowProcedure SetProcedure(WindowHandle window, WindowProcedure procedure) override;
  std::intptr_t CallProcedure(WindowProcedure procedure, WindowHandle window, std::uint32_t message,
                              std::uintptr_t wParam, std::intptr_t lParam) override;
  std::intptr_t DefaultProcedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) override;
  WindowProcedure HotkeyProcedure() const override { return kHotkeyProcedure; }

 private:
  static constexpr WindowProcedure kHotkeyProcedure = 0x7F00;

  struct Atom {
    std::string name;
    int references;
  };
  struct Window {
    WindowProcedure classProcedure;
    WindowProcedure current;
  };

  std::map<std::uint16_t, Atom>::iterator FindAtomByName(std::string_view name);

  std::uint32_t lastError_ = 0;
  std::map<std::uint16_t, Atom> atoms_;
  std::uint16_t nextAtom_ = 0xC000;
  std::map<WindowHandle, Window> windows_;
  WindowHandle nextWindow_ = 0x10010;
  std::map<WindowProcedure, Procedure> procedures_;
  WindowProcedure nextProcedure_ = 0x40000;
  std::vector<Registration> registrations_;
};

}  // namespace lumenor::testing
