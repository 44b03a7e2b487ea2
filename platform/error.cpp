#include "platform/error.h"

namespace platform {

const char* ErrorText(int number) {
  switch (number) {
    case kErrOutOfMemory:
      return "Out of memory";
    case kErrInternal:
      return "Internal error";
    case kErrFileNotFound:
      return "File not found";
    case kErrFileAccess:
      return "Path/File access error";
    case kErrInvalidPicture:
      return "Invalid picture";
    default:
      return "Application-defined or object-defined error";
  }
}

std::string RuntimeError::Message() const {
  std::string m = "Run-time error '" + std::to_string(number) + "': " + text;
  if (!file.empty()) m += ": " + file;
  return m;
}

void Raise(int number, const std::string& file) {
  throw RuntimeError{number, ErrorText(number), file};
}

}  // namespace platform
