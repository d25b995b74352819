#include "support/host_directory_files.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace lumenor::testing {

platform::FileContents HostDirectoryFiles::Read(std::string_view name, std::size_t maxBytes) {
  namespace fs = std::filesystem;
  platform::FileContents contents;
  const fs::path file = directory_ / fs::path(std::string(name));
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return contents;
  contents.status = platform::FileReadStatus::Unreadable;
  contents.size = fs::file_size(file, error);
  if (error) return contents;
  if (contents.size > maxBytes) {
    contents.status = platform::FileReadStatus::TooLarge;
    return contents;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) return contents;
  contents.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  contents.status = platform::FileReadStatus::Read;
  return contents;
}

}  // namespace lumenor::testing
