#pragma once
// A VBHotKey in a child window of its host: the window exists only to receive WM_HOTKEY and paints
// nothing. Loading it in user mode registers the hotkey for that window, subclasses the window and
// files the control; destroying it runs OnDestroy, which undoes all of it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace lumenor::hotkey {

class VBHotKey;

class HotkeyControlWindow {
 public:
  struct Events {
    std::function<void()> hotkeyPressed;
    std::function<void(const std::string& message, const std::string& source)> errorOccured;
  };

  // topLeft is in the host's client pixels; the control sizes itself to 450 x 450 twips.
  // storedProperties is the control's block from the host's design data.
  HotkeyControlWindow(HWND host, POINT topLeft, std::span<const std::uint8_t> storedProperties,
                      Events events);
  ~HotkeyControlWindow();
  HotkeyControlWindow(const HotkeyControlWindow&) = delete;
  HotkeyControlWindow& operator=(const HotkeyControlWindow&) = delete;

  HWND Window() const;
  VBHotKey& Control();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lumenor::hotkey
