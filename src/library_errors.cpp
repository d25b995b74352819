// The C++ runtime reports a misused container or string (an index out of range, a length too
// large) by throwing std::logic_error's family, whose classes
// carry a reference-counted string of their own: linking them brings a second whole string
// implementation and the system_error machinery along (about 40 KB of lumenor.exe). These
// definitions replace the runtime's at link time with one small exception of the same meaning;
// nothing in the program catches those types by name, and an allocation that fails still throws
// std::bad_alloc.
#include <exception>
#include <new>

namespace {

class LibraryMisuse final : public std::exception {
 public:
  explicit LibraryMisuse(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

}  // namespace

namespace std {

void __throw_bad_alloc() {
  throw std::bad_alloc();
}

void __throw_bad_array_new_length() {
  throw std::bad_array_new_length();
}

void __throw_length_error(const char* what) {
  throw LibraryMisuse(what);
}

void __throw_logic_error(const char* what) {
  throw LibraryMisuse(what);
}

void __throw_invalid_argument(const char* what) {
  throw LibraryMisuse(what);
}

void __throw_out_of_range(const char* what) {
  throw LibraryMisuse(what);
}

// The format's arguments (an index and a size) are left out of the text.
void __throw_out_of_range_fmt(const char* format, ...) {
  throw LibraryMisuse(format);
}

}  // namespace std
