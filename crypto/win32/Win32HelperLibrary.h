#pragma once
// The helper library, loaded by name on first use and kept loaded while this
// object lives. Its results, automation strings of ANSI bytes, are copied
// into std::string and freed here.
#include <windows.h>

#include <string>

#include "crypto/HelperLibrary.h"

namespace quillon {

class Win32HelperLibrary final : public HelperLibrary {
 public:
  // The library's own name by default; tests point the loader elsewhere.
  explicit Win32HelperLibrary(std::string moduleName = kHelperLibraryName);
  ~Win32HelperLibrary() override;
  Win32HelperLibrary(const Win32HelperLibrary&) = delete;
  Win32HelperLibrary& operator=(const Win32HelperLibrary&) = delete;

  HelperResult EncryptString(const std::string& key, const std::string& password) override;
  HelperResult DecryptString(const std::string& key, const std::string& stored) override;

 private:
  HelperResult Call(const char* exportName, const std::string& key, const std::string& text);

  std::string moduleName_;
  HMODULE module_ = nullptr;
};

}  // namespace quillon
