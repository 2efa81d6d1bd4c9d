// Calls the helper library's exports by their plain names.
#include "crypto/win32/Win32HelperLibrary.h"

#include <oleauto.h>

#include <utility>

namespace quillon {
namespace {

using StringExport = BSTR(__stdcall*)(LPCSTR, LPCSTR);

// The library's strings hold ANSI bytes rather than wide characters, so
// their length is taken in bytes.
std::string TakeAnsiBstr(BSTR value) {
  if (!value) return {};
  std::string text(reinterpret_cast<const char*>(value), SysStringByteLen(value));
  SysFreeString(value);
  return text;
}

}  // namespace

Win32HelperLibrary::Win32HelperLibrary(std::string moduleName)
    : moduleName_(std::move(moduleName)) {}

Win32HelperLibrary::~Win32HelperLibrary() {
  if (module_) FreeLibrary(module_);
}

HelperResult Win32HelperLibrary::EncryptString(const std::string& key,
                                               const std::string& password) {
  return Call("EncryptStringVB", key, password);
}

HelperResult Win32HelperLibrary::DecryptString(const std::string& key, const std::string& stored) {
  return Call("DecryptStringVB", key, stored);
}

HelperResult Win32HelperLibrary::Call(const char* exportName, const std::string& key,
                                      const std::string& text) {
  // A failed load is tried again on the next call: a library installed while
  // the program runs is then found without a restart.
  if (!module_) module_ = LoadLibraryA(moduleName_.c_str());
  if (!module_) return {HelperStatus::LibraryMissing, {}};
  const FARPROC address = GetProcAddress(module_, exportName);
  if (!address) return {HelperStatus::ExportMissing, {}};
  // Through void (*)() to say that the change of function type is meant.
  const auto function = reinterpret_cast<StringExport>(reinterpret_cast<void (*)()>(address));
  return {HelperStatus::Ok, TakeAnsiBstr(function(key.c_str(), text.c_str()))};
}

}  // namespace quillon
