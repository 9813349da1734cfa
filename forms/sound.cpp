#include "forms/sound.h"

#include <mmsystem.h>

#include "forms/runtime_detail.h"

namespace forms {

void SoundObject::Action(int verb) {
  if (verb != vbOLEActivate) return;
  HMODULE program = ThisModule();
  HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(waveId_), L"WAVE");
  if (!found) return;
  const void* wave = ::LockResource(::LoadResource(program, found));
  if (!wave) return;
  // Resources stay mapped as long as the process runs, so the sound may go on reading them
  // after we return.
  ::PlaySoundW(static_cast<LPCWSTR>(wave), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace forms
