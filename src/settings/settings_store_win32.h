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
  std::optional<std::string> ReplaceAt(int place, std::string_view bytes);

  std::wstring perUserFolder_;
  std::wstring files_[2];  // lumenor.ini beside the program, and in the user's folder
  int home_ = -1;          // the one read or last written; -1 before
};

}  // namespace lumenor::settings
