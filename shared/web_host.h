// The web host of the station page and the maker's site: compiled in, never read at run time.
#pragma once

#include <string>
#include <string_view>

namespace sonbrel {

// "http://" + the host + `path` ("/" for the site itself).
std::wstring WebAddress(std::wstring_view path);

}  // namespace sonbrel
