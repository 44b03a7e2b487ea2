// Naming the running Windows edition: the table of names by platform id,
// major and minor version, and GetWindowsEdition, which asks the platform
// afresh at every call. Comparing names is the caller's.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace startup {

// "Windows 8.1", "" for a version the table does not name, "Failed" for an
// unknown platform id (a failed query leaves it 0).
std::string EditionName(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor);

// Prepares the version record (size 148, numbers 0, service-pack text all
// spaces), queries the platform without looking at its result, and names
// what it filled in.
std::string GetWindowsEdition(platform::Platform& platform);

}  // namespace startup
