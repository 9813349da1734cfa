// Compiled once for the program's host and once for the tests' (SONBREL_WEB_HOST, see
// CMakeLists.txt): whatever links the windows links one of the two.
#include "shared/web_host.h"

namespace sonbrel {

std::wstring WebAddress(std::wstring_view path) { return L"http://" SONBREL_WEB_HOST + std::wstring(path); }

}  // namespace sonbrel
