#include "startup/edition.h"

#include <cstring>

namespace startup {

namespace {

constexpr std::uint32_t kAny = 0xFFFFFFFFu;

struct EditionRow {
  std::uint32_t platformId, major, minor;
  const char* name;
};

// First matching row wins. Version 5.1, the 32-bit Windows XP, has no row of
// its own and is named like 5.0; the Windows 95 family is told apart by the
// minor version alone.
constexpr EditionRow kEditions[] = {
    {1, kAny, 0, "Windows 95"},
    {1, kAny, 10, "Windows 98"},
    {1, kAny, kAny, ""},
    {2, 3, kAny, "Windows NT 3.51"},
    {2, 4, kAny, "Windows NT 4.0"},
    {2, 5, 2, "Windows XP x64"},
    {2, 5, kAny, "Windows 2000"},
    {2, 6, 0, "Windows Vista"},
    {2, 6, 1, "Windows 7"},
    {2, 6, 2, "Windows 8"},
    {2, 6, 3, "Windows 8.1"},
    {2, 6, kAny, "Windows Blue"},
    {2, kAny, kAny, ""},
    {kAny, kAny, kAny, "Failed"},
};

bool Matches(std::uint32_t want, std::uint32_t have) {
  return want == kAny || want == have;
}

}  // namespace

std::string EditionName(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor) {
  for (const EditionRow& row : kEditions) {
    if (Matches(row.platformId, platformId) && Matches(row.major, major) &&
        Matches(row.minor, minor)) {
      return row.name;
    }
  }
  return "Failed";  // not reached: the last row matches everything
}

std::string GetWindowsEdition(platform::Platform& platform) {
  platform::VersionRecord record{};
  record.size = sizeof(record);
  std::memset(record.servicePack, ' ', sizeof(record.servicePack));
  platform.GetVersionExA(record);
  return EditionName(record.platformId, record.major, record.minor);
}

}  // namespace startup
