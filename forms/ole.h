// COM on the calling thread, for the parts of the runtime that need it.
#pragma once

namespace forms {

// OleInitialize once per thread; COM then stays up for the thread's life, because pictures and
// the browser control held by forms may be released as late as static destruction.
void EnsureOleOnThisThread();

}  // namespace forms
