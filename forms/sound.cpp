#include "forms/sound.h"

#include <mmsystem.h>

#include "forms/resource_data.h"

namespace forms {

namespace {

DWORD WINAPI StartPlaying(void* wave) {
  ::PlaySoundW(static_cast<LPCWSTR>(wave), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
  return 0;
}

}  // namespace

void SoundObject::Action(int verb) {
  if (verb != vbOLEActivate) return;
  const std::string_view wave = ResourceBytes(L"WAVE", waveId_);
  if (wave.empty()) return;
  // The first sound loads the audio stack (winmm and the COM it brings), which takes longer than
  // showing a window; a pool thread starts it, so the window that asked does not wait. Resources
  // stay mapped as long as the process runs, so the sound may go on reading them.
  void* bytes = const_cast<char*>(wave.data());
  if (!::QueueUserWorkItem(StartPlaying, bytes, WT_EXECUTEDEFAULT)) StartPlaying(bytes);
}

}  // namespace forms
