#pragma once
// The stored default passwords: a password turned into the text the registry
// keeps, and back. On 64-bit Windows through the program's own Blowfish,
// rendered as upper-case hexadecimal; on other systems through the helper
// library quillonc.dll. The path is chosen afresh on every call.
//
// Texts are std::string holding bytes of the system's ANSI code page. The
// window's controls are read and set through the ANSI (A) functions, so a
// control's text already is the byte form the cipher and the library take,
// and the bytes that come back are shown as they are: the conversion happens
// in the platform, and none is needed here.
#include <string>
#include <string_view>

#include "crypto/HelperLibrary.h"
#include "settings/SettingLocations.h"

namespace quillon {

// The fixed key every stored password is encrypted under.
inline constexpr std::string_view kStoredPasswordKey = "Tq48mZr61PwXd";

enum class PasswordStatus {
  Ok,
  NotCipherText,   // own path: not the hexadecimal of a padded cipher text
  LibraryMissing,  // library path: the library could not be loaded
  ExportMissing,   // library path: the library lacks the function asked for
};

struct PasswordResult {
  PasswordStatus status = PasswordStatus::Ok;
  std::string text;  // empty unless Ok
  bool operator==(const PasswordResult&) const = default;
};

// Why the helper library could not do `work` ("encodes", "decodes") with a
// password, naming the library; empty for the statuses that are not its.
std::string LibraryFailure(PasswordStatus status, std::string_view work);

class StoredPasswordCodec {
 public:
  // The Windows the utility takes for 32-bit encodes through the helper
  // library, as the printer does there; the 64-bit one with the utility's own
  // cipher. Which one it is, the locations decide for the numbers too.
  StoredPasswordCodec(SettingLocations& locations, HelperLibrary& helperLibrary);

  // The stored text of a password under the fixed key; the empty password
  // gives the empty text without touching the cipher or the library.
  PasswordResult EncryptPassword(const std::string& password);
  // The password of a stored text; the empty text gives the empty password.
  // On the own path a text that no encryption can have produced (a length
  // that is not a whole number of blocks, a character that is not a
  // hexadecimal digit, padding that does not check out) is NotCipherText
  // rather than whatever its bytes would make.
  PasswordResult DecryptPassword(const std::string& stored);

 private:
  SettingLocations& locations_;
  HelperLibrary& helperLibrary_;
};

}  // namespace quillon
