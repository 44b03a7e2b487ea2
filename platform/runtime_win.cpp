// Run-time support of the Windows programs, kept small: every byte of an
// executable is read from a slow optical drive before its window shows.
//
// With GCC's library, two parts of the run-time would add some 120 KB that
// these programs never use: the default terminate handler, which prints a
// demangled type name to a console that a GUI program does not have, and
// the library's error helpers, which build exception objects with a second
// string implementation (and the library's assertion report, which brings
// the demangler and a printf with it). Here the helpers raise what the toolkit already
// handles: lack of memory as std::bad_alloc, anything else (which the
// programs never cause) as the toolkit's internal error, reported at the
// one place every untrapped error goes.
#include <windows.h>

#include <cstdlib>
#include <new>

#include "platform/error.h"

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

namespace std {
// A failed library assertion is a fault of the program: say so and end.
void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept {
  MessageBoxA(nullptr, "Run-time error '51': Internal error", "Internal error",
              MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(platform::kErrInternal);
}

void __throw_bad_alloc() {
  throw std::bad_alloc();
}
void __throw_length_error(const char*) {
  throw std::bad_alloc();
}
void __throw_bad_array_new_length() {
  throw std::bad_alloc();
}
void __throw_bad_cast() {
  platform::Raise(platform::kErrInternal);
}
void __throw_bad_typeid() {
  platform::Raise(platform::kErrInternal);
}
void __throw_bad_exception() {
  platform::Raise(platform::kErrInternal);
}
void __throw_logic_error(const char*) {
  platform::Raise(platform::kErrInternal);
}
void __throw_domain_error(const char*) {
  platform::Raise(platform::kErrInternal);
}
void __throw_invalid_argument(const char*) {
  platform::Raise(platform::kErrInternal);
}
void __throw_out_of_range(const char*) {
  platform::Raise(platform::kErrInternal);
}
void __throw_out_of_range_fmt(const char*, ...) {
  platform::Raise(platform::kErrInternal);
}
void __throw_runtime_error(const char*) {
  platform::Raise(platform::kErrInternal);
}
void __throw_range_error(const char*) {
  platform::Raise(platform::kErrInternal);
}
void __throw_overflow_error(const char*) {
  platform::Raise(platform::kErrInternal);
}
void __throw_underflow_error(const char*) {
  platform::Raise(platform::kErrInternal);
}
}  // namespace std
#endif
