#pragma once
// Functions of the system libraries that only single commands need (the file
// dialog, the spooler, automation strings) are bound on their first call
// instead of imported: the program starts without loading those libraries and
// all they bring along. Linker-made delay-load stubs did the same until the
// 32-bit build's stubs were found to jump through an empty import slot.
#include <windows.h>

namespace quillon {

// The function NAME of the system library DLL, or null when either is missing.
// Only the system folder is searched, so a library of the same name planted
// beside the program or in the current folder is never loaded. The library
// stays loaded for the rest of the process.
template <typename Function>
Function* SystemFunction(const char* dll, const char* name) {
  HMODULE module = GetModuleHandleA(dll);
  if (!module) module = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) return nullptr;
  // Through void (*)() to say that the change of function type is meant; the
  // function type, calling convention included, is the system header's own.
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace quillon
