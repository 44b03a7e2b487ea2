// Run-time errors of the window toolkit: one type with a number and a text,
// as the toolkit reports them ("Run-time error '53': File not found").
// Raising is done here; catching and reporting is the toolkit's (toolkit.h).
#pragma once

#include <string>

namespace platform {

// Error numbers the toolkit raises. The texts are the toolkit's own.
enum ErrorNumber : int {
  kErrOutOfMemory = 7,
  kErrInternal = 51,
  kErrFileNotFound = 53,
  kErrFileAccess = 75,
  kErrInvalidPicture = 481,
};

struct RuntimeError {
  int number;
  std::string text;  // "File not found"
  std::string file;  // the file concerned, "" when none

  // "Run-time error '53': File not found: setup\images\help.gif"
  std::string Message() const;
};

// Standard text for an error number.
const char* ErrorText(int number);

[[noreturn]] void Raise(int number, const std::string& file = "");

// Thrown to stop a handler after the program was ended at once; caught only
// by the toolkit's event dispatch.
struct ProgramEnded {};

}  // namespace platform
