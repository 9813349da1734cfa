// Functions of the DLLs the splash does not need, bound on their first call instead of by the
// loader: every DLL loaded before the entry point delays the splash, under Wine most of all.
// Callers call them as usual, through the import slot the compiler names (__imp_...); this file
// defines those slots, each holding at first a stub that loads the DLL, finds the function, puts it
// in the slot and calls it. MSVC builds get the same from /DELAYLOAD instead (forms/CMakeLists.txt).
#if defined(__GNUC__)

#include <windows.h>
#include <commctrl.h>
#include <delayimp.h>
#include <mmsystem.h>
#include <ole2.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlwapi.h>

namespace forms {
namespace {

// A Windows DLL is always there; should one ever lack the function, fail as a delay-loaded
// import does (the same exception), rather than call nowhere.
FARPROC Bind(const wchar_t* dll, const char* function) {
  // Never freed: the slot keeps pointing into it.
  const HMODULE module = ::LoadLibraryW(dll);
  const FARPROC address = module ? ::GetProcAddress(module, function) : nullptr;
  if (!address) {
    const DWORD error = module ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND;
    ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, error), EXCEPTION_NONCONTINUABLE, 0, nullptr);
  }
  return address;
}

template <class Pointer>
Pointer Bound(const wchar_t* dll, const char* function) {
  return reinterpret_cast<Pointer>(reinterpret_cast<void*>(Bind(dll, function)));
}

struct Import {
  const wchar_t* dll;
  const char* function;
};

template <class Function>
struct Lazy;

template <class Result, class... Args>
struct Lazy<Result(WINAPI*)(Args...)> {
  using Pointer = Result(WINAPI*)(Args...);
  template <Pointer& slot, const Import& import>
  static Result WINAPI FirstCall(Args... args) {
    slot = Bound<Pointer>(import.dll, import.function);
    return slot(args...);
  }
};

// The slot's symbol: 32-bit names carry C's underscore and the stdcall argument size.
#ifdef _WIN64
#define FORMS_IMPORT_SLOT(function, argumentBytes) "__imp_" #function
#else
#define FORMS_IMPORT_SLOT(function, argumentBytes) "__imp__" #function "@" #argumentBytes
#endif

#define FORMS_LAZY_IMPORT_AS(dll, function, type, argumentBytes)                                       \
  constexpr Import k##function{dll, #function};                                                         \
  extern "C" type slot_##function asm(FORMS_IMPORT_SLOT(function, argumentBytes));                      \
  type slot_##function = &Lazy<type>::FirstCall<slot_##function, k##function>;
#define FORMS_LAZY_IMPORT(dll, function, argumentBytes) \
  FORMS_LAZY_IMPORT_AS(dll, function, decltype(&::function), argumentBytes)

// shell32's undecorated entry point, declared by its caller with its own record type; the slot
// only passes the pointer on.
#undef Shell_NotifyIcon
using Shell_NotifyIcon_t = BOOL(WINAPI*)(DWORD, void*);

}  // namespace

// The notification icon and opening a link in the browser.
FORMS_LAZY_IMPORT(L"shell32.dll", ShellExecuteA, 24)
FORMS_LAZY_IMPORT_AS(L"shell32.dll", Shell_NotifyIcon, Shell_NotifyIcon_t, 8)
// Which host a link goes to.
FORMS_LAZY_IMPORT(L"shlwapi.dll", UrlGetPartW, 20)
// The browser control and the objects handed to screen readers.
FORMS_LAZY_IMPORT(L"ole32.dll", OleInitialize, 4)
FORMS_LAZY_IMPORT(L"oleaut32.dll", SysAllocStringLen, 8)
FORMS_LAZY_IMPORT(L"oleaut32.dll", SysStringLen, 4)
FORMS_LAZY_IMPORT(L"oleaut32.dll", VariantInit, 4)
FORMS_LAZY_IMPORT(L"oleaut32.dll", VariantClear, 4)
// Tooltips, shown only once the pointer rests on a control.
FORMS_LAZY_IMPORT(L"comctl32.dll", InitCommonControlsEx, 4)
// Sounds: winmm brings COM and the codec manager along (forms/sound.cpp).
FORMS_LAZY_IMPORT(L"winmm.dll", PlaySoundW, 12)

}  // namespace forms

// Screen readers. MinGW declares these without an import slot, so the functions themselves are
// defined here, in place of the import library's.
extern "C" HRESULT WINAPI CreateStdAccessibleObject(HWND window, LONG object, REFIID type, void** result) {
  static const auto function = forms::Bound<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll",
                                                                                 "CreateStdAccessibleObject");
  return function(window, object, type, result);
}

extern "C" LRESULT WINAPI LresultFromObject(REFIID type, WPARAM wParam, LPUNKNOWN object) {
  static const auto function = forms::Bound<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
  return function(type, wParam, object);
}

#endif
