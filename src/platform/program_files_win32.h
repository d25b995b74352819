#pragma once
// The program's own directory and the files in it.
#include <windows.h>

#include <string>

#include "platform/program_files.h"

namespace lumenor::platform {

// The directory lumenor.exe was started from, without a trailing backslash; empty if unknown.
std::wstring ModuleDirectory();

// A file (not a directory) exists under the path.
bool FileExists(const std::wstring& path);

class DirectoryFiles final : public ProgramFiles {
 public:
  explicit DirectoryFiles(std::wstring directory = ModuleDirectory())
      : directory_(std::move(directory)) {}

  FileContents Read(std::string_view name, std::size_t maxBytes) override;
  // The full path of the file of that name; empty when the directory is unknown.
  std::wstring PathOf(std::string_view name) const;

 private:
  std::wstring directory_;
};

}  // namespace lumenor::platform
