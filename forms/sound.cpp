#include "forms/sound.h"

#include <mmsystem.h>

#include "forms/resource_data.h"

namespace forms {

void SoundObject::Action(int verb) {
  if (verb != vbOLEActivate) return;
  const std::string_view wave = ResourceBytes(L"WAVE", waveId_);
  if (wave.empty()) return;
  // Resources stay mapped as long as the process runs, so the sound may go on reading them
  // after we return.
  ::PlaySoundW(reinterpret_cast<LPCWSTR>(wave.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace forms
