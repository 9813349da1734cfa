#include "forms/resource_data.h"

#include <windows.h>

#include "forms/runtime_detail.h"

namespace forms {

std::string_view ResourceBytes(const wchar_t* type, int id) {
  HRSRC found = ::FindResourceW(ThisModule(), MAKEINTRESOURCEW(id), type);
  if (!found) return {};
  const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(ThisModule(), found)));
  if (!bytes) return {};
  return {bytes, ::SizeofResource(ThisModule(), found)};
}

}  // namespace forms
