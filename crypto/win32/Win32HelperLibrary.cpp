// Calls the helper library's exports by their plain names.
#include "crypto/win32/Win32HelperLibrary.h"

#include <oleauto.h>

#include <utility>

#include "platform/win32/SystemFunction.h"

namespace quillon {
namespace {

using StringExport = BSTR(__stdcall*)(LPCSTR, LPCSTR);

// The library's strings are automation strings: read and freed through
// oleaut32, which is bound only when the library is first used.
struct AutomationStrings {
  decltype(SysStringByteLen)* byteLength =
      SystemFunction<decltype(SysStringByteLen)>("oleaut32.dll", "SysStringByteLen");
  decltype(SysFreeString)* free =
      SystemFunction<decltype(SysFreeString)>("oleaut32.dll", "SysFreeString");
  bool Present() const { return byteLength && free; }
};

// The library's strings hold ANSI bytes rather than wide characters, so
// their length is taken in bytes.
std::string TakeAnsiBstr(const AutomationStrings& strings, BSTR value) {
  if (!value) return {};
  std::string text(reinterpret_cast<const char*>(value), strings.byteLength(value));
  strings.free(value);
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
  // The library cannot have loaded without oleaut32, which it imports.
  static const AutomationStrings strings;
  if (!strings.Present()) return {HelperStatus::LibraryMissing, {}};
  // Through void (*)() to say that the change of function type is meant.
  const auto function = reinterpret_cast<StringExport>(reinterpret_cast<void (*)()>(address));
  return {HelperStatus::Ok, TakeAnsiBstr(strings, function(key.c_str(), text.c_str()))};
}

}  // namespace quillon
