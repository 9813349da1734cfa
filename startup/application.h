#pragma once

namespace sonbrel {

// The application title: the hidden application window's, the main window's caption, and the
// title a second copy looks for.
inline constexpr wchar_t kApplicationTitle[] = L"Harlune网络FM播放器";

}  // namespace sonbrel
