#pragma once
// Where lumenor.ini lives, as the core sees it: read whole, kept aside when it made no sense, and
// replaced whole. The Win32 store (settings_store_win32.h) finds the folder and writes atomically.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumenor::settings {

// Unreadable also covers a file another program holds without sharing it (a sync client, a virus
// scanner, an editor) past the patience the read was given.
enum class StoredStatus { Missing, Read, TooLarge, Unreadable };

struct StoredFile {
  StoredStatus status = StoredStatus::Missing;
  std::string bytes;   // with Read
  std::string reason;  // with Unreadable: the system's words
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The file, unless it is larger than maxBytes. One that another program holds is tried again
  // until `patience` has passed.
  virtual StoredFile Read(std::size_t maxBytes, std::chrono::milliseconds patience) = 0;
  // Renames the file to lumenor.ini.bad, replacing an older one; false when it could not.
  virtual bool KeepAsBad() = 0;
  // Replaces the file whole, or leaves it as it was and says why.
  virtual std::optional<std::string> Replace(std::string_view bytes) = 0;
  // The file's path, for what the user is told.
  virtual std::string Where() const = 0;
};

}  // namespace lumenor::settings
