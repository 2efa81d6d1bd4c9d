#pragma once
// Passwords and the texts stored for them under the utility's fixed key,
// as OpenSSL's Blowfish (ECB, PKCS #5 padding, hexadecimal) computes them:
// known answers independent of the project's own cipher.
namespace quillon {

struct KnownPassword {
  const char* plain;
  const char* stored;
};

inline constexpr KnownPassword kUserPassword{"Secret1", "702F8D9283B1E372"};
inline constexpr KnownPassword kMasterPassword{"Master pass 8", "291C8DDC42117B3BBCF2C327156063E0"};

}  // namespace quillon
