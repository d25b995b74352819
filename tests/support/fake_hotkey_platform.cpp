#include "support/fake_hotkey_platform.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "hotkey/hotkey_subclass.h"

namespace lumenor::testing {

namespace {

constexpr std::uint32_t kNoRepeat = 0x4000;
constexpr std::size_t kLongestAtomName = 255;

bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

FakeHotkeySystem::FakeHotkeySystem() {
  messageTexts[kInvalidHandle] = "The handle is invalid.\r\n";
  messageTexts[kInvalidParameter] = "The parameter is incorrect.\r\n";
  messageTexts[kInvalidWindowHandle] = "Invalid window handle.\r\n";
  messageTexts[kHotkeyAlreadyRegistered] = "Hotkey already registered.\r\n";
  messageTexts[kHotkeyNotRegistered] = "Hotkey is not registered.\r\n";
}

WindowHandle FakeHotkeySystem::AddWindow(WindowHandle handle) {
  if (handle == 0) {
    while (windows_.contains(nextWindow_)) nextWindow_ += 4;
    handle = nextWindow_;
    nextWindow_ += 4;
  }
  if (windows_.contains(handle)) throw std::logic_error("window exists already");
  const WindowProcedure own =
      AddProcedure([this](WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
        classMessages.push_back(Message{w, m, wp, lp});
        return kClassResult;
      });
  windows_[handle] = Window{own, own};
  return handle;
}

void FakeHotkeySystem::RemoveWindow(WindowHandle window) {
  windows_.erase(window);
  std::erase_if(registrations_, [&](const Registration& r) { return r.window == window; });
}

WindowProcedure FakeHotkeySystem::ClassProcedure(WindowHandle window) const {
  return windows_.at(window).classProcedure;
}

WindowProcedure FakeHotkeySystem::AddProcedure(Procedure procedure) {
  const WindowProcedure value = nextProcedure_;
  nextProcedure_ += 0x10;
  procedures_[value] = std::move(procedure);
  return value;
}

std::intptr_t FakeHotkeySystem::Send(WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return 0;
  return CallProcedure(it->second.current, window, message, wParam, lParam);
}

bool FakeHotkeySystem::PressHotkey(std::uint32_t modifiers, std::uint32_t virtualKey) {
  auto it = std::ranges::find_if(registrations_, [&](const Registration& r) {
    return (r.modifiers & ~kNoRepeat) == (modifiers & ~kNoRepeat) && r.virtualKey == virtualKey;
  });
  if (it == registrations_.end()) return false;
  const Registration target = *it;
  const auto lParam = static_cast<std::intptr_t>(((virtualKey & 0xFFFFu) << 16) |
                                                 (modifiers & ~kNoRepeat & 0xFFFFu));
  Send(target.window, 0x0312, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(target.id)),
       lParam);
  return true;
}

std::map<std::uint16_t, FakeHotkeySystem::Atom>::iterator FakeHotkeySystem::FindAtomByName(
    std::string_view name) {
  return std::ranges::find_if(atoms_, [&](const auto& a) { return SameName(a.second.name, name); });
}

int FakeHotkeySystem::AtomReferences(std::string_view name) const {
  for (const auto& [atom, entry] : atoms_) {
    if (SameName(entry.name, name)) return entry.references;
  }
  return 0;
}

std::uint16_t FakeHotkeySystem::FindAtom(std::string_view name) const {
  for (const auto& [atom, entry] : atoms_) {
    if (SameName(entry.name, name)) return atom;
  }
  return 0;
}

std::uint16_t FakeHotkeySystem::AddGlobalAtom(std::string_view name) {
  if (atomTableFull || name.empty() || name.size() > kLongestAtomName) {
    lastError_ = atomTableFull ? 8 : kInvalidParameter;  // 8: not enough memory
    return 0;
  }
  auto it = FindAtomByName(name);
  if (it != atoms_.end()) {
    ++it->second.references;
    return it->first;
  }
  const std::uint16_t atom = nextAtom_++;
  atoms_[atom] = Atom{std::string(name), 1};
  return atom;
}

void FakeHotkeySystem::DeleteGlobalAtom(std::uint16_t atom) {
  deletedAtoms.push_back(atom);
  if (atom < 0xC000) return;  // integer atoms are not counted
  auto it = atoms_.find(atom);
  if (it == atoms_.end()) {
    lastError_ = kInvalidHandle;
    return;
  }
  if (--it->second.references == 0) atoms_.erase(it);
}

std::size_t FakeHotkeySystem::GlobalAtomName(std::uint16_t atom, std::span<char> buffer) {
  auto it = atoms_.find(atom);
  if (it == atoms_.end() || buffer.empty()) {
    lastError_ = kInvalidHandle;
    return 0;
  }
  const std::string& name = it->second.name;
  const std::size_t length = std::min(name.size(), buffer.size() - 1);
  std::copy_n(name.begin(), length, buffer.begin());
  buffer[length] = '\0';
  return length;
}

std::int32_t FakeHotkeySystem::RegisterHotkey(WindowHandle window, std::int32_t id,
                                              std::uint32_t modifiers, std::uint32_t virtualKey) {
  registerCalls.push_back(Registration{window, id, modifiers, virtualKey});
  if (registrationRefusal) {
    lastError_ = *registrationRefusal;
    return 0;
  }
  if (window != 0 && !windows_.contains(window)) {
    lastError_ = kInvalidWindowHandle;
    return 0;
  }
  const bool taken = std::ranges::any_of(registrations_, [&](const Registration& r) {
    return (r.modifiers & ~kNoRepeat) == (modifiers & ~kNoRepeat) && r.virtualKey == virtualKey;
  });
  if (taken) {
    lastError_ = kHotkeyAlreadyRegistered;
    return 0;
  }
  registrations_.push_back(Registration{window, id, modifiers, virtualKey});
  return 1;
}

void FakeHotkeySystem::UnregisterHotkey(WindowHandle window, std::int32_t id) {
  unregisterCalls.push_back(Registration{window, id, 0, 0});
  auto it = std::ranges::find_if(
      registrations_, [&](const Registration& r) { return r.window == window && r.id == id; });
  if (it == registrations_.end()) {
    lastError_ = kHotkeyNotRegistered;
    return;
  }
  registrations_.erase(it);
}

std::string FakeHotkeySystem::SystemMessageText(std::uint32_t code) {
  auto it = messageTexts.find(code);
  if (it == messageTexts.end()) {
    lastError_ = 317;  // no text for the code
    return {};
  }
  return it->second;
}

WindowProcedure FakeHotkeySystem::GetProcedure(WindowHandle window) {
  auto it = windows_.find(window);
  if (it == windows_.end()) {
    lastError_ = kInvalidWindowHandle;
    return 0;
  }
  return it->second.current;
}

WindowProcedure FakeHotkeySystem::SetProcedure(WindowHandle window, WindowProcedure procedure) {
  auto it = windows_.find(window);
  if (it == windows_.end()) {
    lastError_ = kInvalidWindowHandle;
    return 0;
  }
  return std::exchange(it->second.current, procedure);
}

std::intptr_t FakeHotkeySystem::CallProcedure(WindowProcedure procedure, WindowHandle window,
                                              std::uint32_t message, std::uintptr_t wParam,
                                              std::intptr_t lParam) {
  if (procedure == kHotkeyProcedure) {
    return hotkey::HotkeyWindowProc(*this, window, message, wParam, lParam);
  }
  auto it = procedures_.find(procedure);
  if (it == procedures_.end())
    throw std::logic_error("a window runs a procedure that does not exist");
  return it->second(window, message, wParam, lParam);
}

std::intptr_t FakeHotkeySystem::DefaultProcedure(WindowHandle window, std::uint32_t message,
                                                 std::uintptr_t wParam, std::intptr_t lParam) {
  defaultMessages.push_back(Message{window, message, wParam, lParam});
  return defaultResult;
}

}  // namespace lumenor::testing
