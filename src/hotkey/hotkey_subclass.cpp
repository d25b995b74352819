#include "hotkey/hotkey_subclass.h"

#include <memory>
#include <optional>
#include <vector>

namespace lumenor::hotkey {

namespace {

std::unique_ptr<KeyedCollection<ApiSubclassedWindow>>& SubclassedWindowsSlot() {
  static std::unique_ptr<KeyedCollection<ApiSubclassedWindow>> registry;
  return registry;
}

std::unique_ptr<KeyedCollection<HotkeyControl*>>& HotkeyControlsSlot() {
  static std::unique_ptr<KeyedCollection<HotkeyControl*>> registry;
  return registry;
}

}  // namespace

KeyedCollection<ApiSubclassedWindow>& SubclassedWindows() {
  auto& slot = SubclassedWindowsSlot();
  if (!slot) slot = std::make_unique<KeyedCollection<ApiSubclassedWindow>>();
  return *slot;
}

KeyedCollection<HotkeyControl*>& HotkeyControls() {
  auto& slot = HotkeyControlsSlot();
  if (!slot) slot = std::make_unique<KeyedCollection<HotkeyControl*>>();
  return *slot;
}

bool SubclassedWindowsExist() {
  return SubclassedWindowsSlot() != nullptr;
}
bool HotkeyControlsExist() {
  return HotkeyControlsSlot() != nullptr;
}

void SubclassWindow(platform::WindowProcedures& procedures, WindowHandle hWnd) {
  ApiSubclassedWindow record;
  if (procedures.GetProcedure(hWnd) == procedures.HotkeyProcedure()) return;

  record.hWnd = hWnd;
  record.OldWndProc = procedures.GetProcedure(hWnd);

  // The call returns the procedure it replaced: any non-zero value means the dispatch is in place
  // (a procedure handle reads negative as a signed number).
  if (procedures.SetProcedure(hWnd, procedures.HotkeyProcedure()) != 0) {
    record.NewWndProc = procedures.GetProcedure(hWnd);
  }

  SubclassedWindows().Add(WindowKey(record.hWnd), record);
}

void UnsubclassWindow(platform::WindowProcedures& procedures, WindowHandle hWnd) noexcept {
  const std::string key = WindowKey(hWnd);

  std::optional<ApiSubclassedWindow> record;
  try {
    record = SubclassedWindows().Item(key);
  } catch (...) {
  }

  // A window with no remembered procedure is left alone: installing a null procedure would leave
  // it with nothing to run its messages.
  if (record && record->OldWndProc != 0) {
    try {
      procedures.SetProcedure(hWnd, record->OldWndProc);
    } catch (...) {
    }
  }

  try {
    SubclassedWindows().Remove(key);
  } catch (...) {
  }

  try {
    auto& controls = HotkeyControls();
    std::vector<std::string> leaving;
    for (std::size_t i = 1; i <= controls.Count(); ++i) {
      try {
        std::string controlKey = controls.Item(i)->UniqueKey();
        if (controlKey == key) leaving.push_back(std::move(controlKey));
      } catch (...) {
      }
    }
    for (const auto& controlKey : leaving) {
      try {
        controls.Remove(controlKey);
      } catch (...) {
      }
    }
  } catch (...) {
  }

  if (SubclassedWindowsExist() && SubclassedWindowsSlot()->Empty()) SubclassedWindowsSlot().reset();
  if (HotkeyControlsExist() && HotkeyControlsSlot()->Empty()) HotkeyControlsSlot().reset();
}

std::intptr_t HotkeyWindowProc(platform::WindowProcedures& procedures, WindowHandle hWnd,
                               std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) noexcept {
  std::optional<WindowProcedure> previous;
  try {
    previous = SubclassedWindows().Item(WindowKey(hWnd)).OldWndProc;
  } catch (...) {
  }

  if (message == kHotkeyMessage) {
    const auto bits = static_cast<std::uintptr_t>(lParam);
    const auto vKey = static_cast<std::int32_t>((bits >> 16) & 0xFFFFu);
    const auto modifier = static_cast<std::int32_t>(static_cast<std::int16_t>(bits & 0xFFFFu));

    std::size_t count = 0;
    try {
      count = HotkeyControls().Count();
    } catch (...) {
    }
    for (std::size_t i = 1; i <= count; ++i) {
      try {
        auto& controls = HotkeyControls();
        if (i > controls.Count()) continue;  // the registry shrank while the handlers ran
        HotkeyControl* control = controls.Item(i);
        if (control->hWnd() == hWnd) control->RaiseKeyPressEvent(vKey, modifier);
      } catch (...) {
      }
    }
  }

  try {
    if (previous && *previous != 0) {
      return procedures.CallProcedure(*previous, hWnd, message, wParam, lParam);
    }
    return procedures.DefaultProcedure(hWnd, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

}  // namespace lumenor::hotkey
