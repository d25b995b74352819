#pragma once
// lumenor.ini on disk: beside lumenor.exe when that folder is writable (the portable zip), else in
// %APPDATA%\Lumenor\. Replaced whole: a temporary file in the same folder, flushed, then moved over
// the old one in one step, so a crash leaves the old file or the new one; the temporary file never
// stays behind. A file beside the exe that this user cannot write (left by an elevated run in a
// protected folder) gives way to one in %APPDATA%\Lumenor\, which is read first from then on.
// Other programs open users' files for a moment or for long: the file is opened sharing
// everything, and a move they hold up is tried again for about half a second.
#include <windows.h>

#include <chrono>
#include <string>

#include "settings/settings_store.h"

namespace lumenor::settings {

inline constexpr wchar_t kFileName[] = L"lumenor.ini";

class SettingsFileStore final : public SettingsStore {
 public:
  // The two folders, without a trailing backslash; the second may be empty.
  SettingsFileStore(std::wstring besideProgram, std::wstring perUser);
  // Beside lumenor.exe, else %APPDATA%\Lumenor; only the latter for a copy that runs from under
  // the temporary directory.
  static SettingsFileStore ForThisProgram();

  StoredFile Read(std::size_t maxBytes, std::chrono::milliseconds patience) override;
  bool KeepAsBad() override;
  std::optional<std::string> Replace(std::string_view bytes) override;
  std::string Where() const override;

 private:
  struct Failure {
    DWORD error;
    std::string text;
  };
  std::optional<Failure> ReplaceAt(int place, std::string_view bytes);
  std::optional<Failure> ReplaceInUserFolder(std::string_view bytes);

  std::wstring perUserFolder_;
  std::wstring files_[2];  // lumenor.ini beside the program, and in the user's folder
  int home_ = -1;          // the one read or last written; -1 before
};

}  // namespace lumenor::settings
