// The helper library quillonc.dll: the stored-password text through the
// project's own Blowfish, handed back as automation strings (BSTR) of ANSI
// bytes that the caller owns and frees with SysFreeString.
#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

#include <string>
#include <string_view>

#include "crypto/basBlowfish.h"
#include "crypto/basBlowfishByteFns.h"
#include "crypto/basConvert.h"

namespace quillon {
namespace {

// Classic callers pass a null pointer for an empty text.
std::string_view Text(LPCSTR text) { return text ? std::string_view(text) : std::string_view(); }

Bytes ByteForm(LPCSTR text) {
  const std::string_view view = Text(text);
  return Bytes(view.begin(), view.end());
}

// The bytes as they are, in a string the caller owns; no conversion to wide
// characters, as an ANSI library hands strings to its callers.
BSTR AnsiBstr(const void* bytes, std::size_t length) {
  return SysAllocStringByteLen(static_cast<const char*>(bytes), static_cast<UINT>(length));
}

// Both answer a key the cipher refuses (empty, or longer than 56 bytes) with
// no string at all: a text made under whatever key state was left behind
// could never be read back with that key.
BSTR Encrypt(LPCSTR key, LPCSTR password) {
  KeyState state{};
  if (!SetKey(state, ByteForm(key))) return nullptr;
  const std::string hex = BytesToHex(EncryptBytes(state, ByteForm(password)));
  return AnsiBstr(hex.data(), hex.size());
}

BSTR Decrypt(LPCSTR key, LPCSTR stored) {
  KeyState state{};
  if (!SetKey(state, ByteForm(key))) return nullptr;
  const Bytes password = DecryptBytes(state, HexToBytes(Text(stored)));
  return AnsiBstr(password.data(), password.size());
}

}  // namespace
}  // namespace quillon

extern "C" {

BSTR __stdcall EncryptStringVB(LPCSTR key, LPCSTR password) {
  return quillon::Encrypt(key, password);
}

BSTR __stdcall DecryptStringVB(LPCSTR key, LPCSTR stored) { return quillon::Decrypt(key, stored); }

}  // extern "C"
