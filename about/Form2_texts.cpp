#include <windows.h>

#include <string>

#include "about/Form2.h"

namespace sonbrel {

// The files may come with LF or CR LF, depending on how they were checked out.
std::wstring TextResource(int id) {
  std::wstring text = forms::WithCrLfLines(forms::FromUtf8(forms::ResourceBytes(L"TEXT", id)));
  while (text.ends_with(L"\r\n")) text.resize(text.size() - 2);
  return text;
}

}  // namespace sonbrel
