// The version a program file's version resource gives, as the about window shows it.
#pragma once

#include <string>

namespace support {

// "major.minor.revision" of the file version major.minor.0.revision; empty without a resource.
std::wstring FileVersionOf(const std::wstring& path);

}  // namespace support
