#pragma once
// lumenor.ini on disk: beside lumenor.exe when that folder is writable (the portable zip), else in
// %APPDATA%\Lumenor\. Replaced whole: a temporary file in the same folder, flushed, then moved over
// the old one in one step, so a crash leaves the old file or the new one; the temporary file never
// stays behind.
#include <windows.h>

#include <string>

#include "settings/settings_store.h"

namespace lumenor::settings {

inline constexpr wchar_t kFileName[] = L"lumenor.ini";

class SettingsFileStore final : public SettingsStore {
 public:
  // The two folders, without a trailing backslash; the second may be empty.
  SettingsFileStore(std::wstring besideProgram, std::wstring perUser);
  // Beside lumenor.exe, else %APPDATA%\Lumenor.
  static SettingsFileStore ForThisProgram();

  StoredFile Read(std::size_t maxBytes) override;
  bool KeepAsBad() override;
  std::optional<std::string> Replace(std::string_view bytes) override;
  std::string Where() const override;

 private:
  std::wstring PathIn(const std::wstring& folder) const { return folder + L"\\" + kFileName; }
  std::optional<std::string> ReplaceIn(const std::wstring& folder, std::string_view bytes);

  std::wstring besideProgram_;
  std::wstring perUser_;
  std::wstring home_;  // the folder the file was read from or last written to; empty before
};

}  // namespace lumenor::settings
