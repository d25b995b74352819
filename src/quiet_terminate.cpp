// lumenor.exe has no console. The C++ runtime's default terminate handler demangles the escaping
// exception's type name and prints it to stderr, which goes nowhere here, and links the whole
// demangler and printf engine for it (about 50 KB). This definition replaces it at link time;
// an uncaught exception still ends the program through abort(), as before.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx
