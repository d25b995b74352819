#pragma once
// Files beside the program (Default.dat): read whole, and only when small enough to be what they
// claim to be.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumenor::platform {

enum class FileReadStatus { Read, Missing, TooLarge, Unreadable };

struct FileContents {
  FileReadStatus status = FileReadStatus::Missing;
  std::string bytes;       // the whole file when Read
  std::uint64_t size = 0;  // the file's size in bytes, when it is known
};

class ProgramFiles {
 public:
  virtual ~ProgramFiles() = default;
  // The file of that name in the program's own directory, never the working directory. Nothing
  // or a directory under the name is Missing; a file over maxBytes is TooLarge and is not read.
  virtual FileContents Read(std::string_view name, std::size_t maxBytes) = 0;
};

}  // namespace lumenor::platform
