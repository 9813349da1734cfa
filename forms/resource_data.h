// The program's own resources as bytes.
#pragma once

#include <string_view>

namespace forms {

// A resource of the program's file by type and number, mapped for as long as the process runs;
// empty when there is none.
std::string_view ResourceBytes(const wchar_t* type, int id);

}  // namespace forms
