// The C++ runtime reports a misused container or string (an index out of range, a length too
// large) by throwing std::logic_error's family, whose classes
// carry a reference-counted string of their own: linking them brings a second whole string
// implementation and the system_error machinery along (about 40 KB of lumenor.exe). These
// definitions replace the runtime's at link time with one small exception of the same meaning;
// nothing in the program catches those types by name, and an allocation that fails still throws
// std::bad_alloc.
#include <exception>
#include <memory>
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

// std::make_shared's control block answers std::get_deleter by asking this whether a type record
// names its private tag. The runtime's own answer compares type records by name, which links the
// runtime's whole shared_ptr file (its lock pool, error classes and name hashing, about 3.5 KB).
// The program is built without type records, so the only record that can name the tag is the one
// the control block itself hands out, and an address comparison gives the same answer.
bool _Sp_make_shared_tag::_S_eq(const type_info& type) noexcept {
  return &type == &_S_ti();
}

}  // namespace std
