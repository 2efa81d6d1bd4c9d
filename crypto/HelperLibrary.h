#pragma once
// The helper library quillonc.dll (exports EncryptStringVB, DecryptStringVB),
// through which the stored passwords are encoded on systems that are not
// 64-bit Windows. The Win32 implementation loads it by name on first use;
// tests use a substitute.
#include <string>

namespace quillon {

inline constexpr const char* kHelperLibraryName = "quillonc.dll";

enum class HelperStatus {
  Ok,
  LibraryMissing,  // LoadLibrary failed
  ExportMissing,   // the library lacks the export that was asked for
};

struct HelperResult {
  HelperStatus status = HelperStatus::Ok;
  std::string text;  // the library's result, in the ANSI code page; empty unless Ok
};

class HelperLibrary {
 public:
  virtual ~HelperLibrary() = default;
  // EncryptStringVB(key, password): the stored text.
  virtual HelperResult EncryptString(const std::string& key, const std::string& password) = 0;
  // DecryptStringVB(key, stored): the password.
  virtual HelperResult DecryptString(const std::string& key, const std::string& stored) = 0;
};

}  // namespace quillon
