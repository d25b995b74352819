#pragma once
// Files of one directory on the host's file system, for tests that want real files.
#include <filesystem>

#include "platform/program_files.h"

namespace lumenor::testing {

class HostDirectoryFiles final : public platform::ProgramFiles {
 public:
  explicit HostDirectoryFiles(std::filesystem::path directory) : directory_(std::move(directory)) {}
  platform::FileContents Read(std::string_view name, std::size_t maxBytes) override;

 private:
  std::filesystem::path directory_;
};

}  // namespace lumenor::testing
