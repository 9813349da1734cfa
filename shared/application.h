// What the whole program shares: its title and the forms model's idea of True.
#pragma once

#include <cstdint>

namespace sonbrel {

// The application title: the hidden application window's, the main window's caption, and the
// title a second copy looks for.
inline constexpr wchar_t kApplicationTitle[] = L"Harlune网络FM播放器";

// The forms model's True, as Cancel and SetTopMost's OnTop carry it.
inline constexpr int16_t True = -1;
inline constexpr int16_t False = 0;

}  // namespace sonbrel
