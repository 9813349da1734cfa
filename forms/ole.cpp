#include "forms/ole.h"

#include <windows.h>
#include <ole2.h>

namespace forms {

void EnsureOleOnThisThread() {
  thread_local bool initialized = false;
  if (initialized) return;
  // A thread already in another apartment keeps it; what we need then works there too.
  ::OleInitialize(nullptr);
  initialized = true;
}

}  // namespace forms
