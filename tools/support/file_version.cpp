#include "support/file_version.h"

#include <windows.h>

#include <vector>

namespace support {

std::wstring FileVersionOf(const std::wstring& path) {
  DWORD ignored = 0;
  std::vector<char> data(::GetFileVersionInfoSizeW(path.c_str(), &ignored));
  void* fixed = nullptr;
  UINT size = 0;
  if (data.empty() || !::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
      !::VerQueryValueW(data.data(), L"\\", &fixed, &size) || size < sizeof(VS_FIXEDFILEINFO)) {
    return {};
  }
  const auto& v = *static_cast<const VS_FIXEDFILEINFO*>(fixed);
  return std::to_wstring(HIWORD(v.dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(v.dwFileVersionMS)) + L"." +
         std::to_wstring(LOWORD(v.dwFileVersionLS));
}

}  // namespace support
