// Run-time support of the Windows programs. With GCC's library the default
// terminate handler prints a demangled type name to a console that these
// GUI programs do not have; a plain one keeps the demangler (about 80 KB)
// out of every executable. Nothing should reach it: every error of the core
// is caught by the toolkit.
#include <windows.h>

#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
