#pragma once
// The helper library for native tests: a text form of its own that decodes
// back to the password, a failure to answer with instead (the library not
// loaded, or an export missing), and a count of the calls.
#include <string>

#include "crypto/HelperLibrary.h"

namespace quillon {

class SubstituteHelperLibrary final : public HelperLibrary {
 public:
  HelperResult EncryptString(const std::string& key, const std::string& password) override {
    ++encryptCalls;
    if (encryptStatus != HelperStatus::Ok) return {encryptStatus, {}};
    return {HelperStatus::Ok, StoredFormOf(key, password)};
  }

  HelperResult DecryptString(const std::string& key, const std::string& stored) override {
    ++decryptCalls;
    if (decryptStatus != HelperStatus::Ok) return {decryptStatus, {}};
    const std::string head = kPrefix + key.substr(0, 1);
    const std::string body = stored.starts_with(head) ? stored.substr(head.size()) : stored;
    return {HelperStatus::Ok, Reversed(body)};
  }

  // The stored text the substitute makes of a password.
  static std::string StoredFormOf(const std::string& key, const std::string& password) {
    return kPrefix + key.substr(0, 1) + Reversed(password);
  }

  HelperStatus encryptStatus = HelperStatus::Ok;
  HelperStatus decryptStatus = HelperStatus::Ok;
  int encryptCalls = 0;
  int decryptCalls = 0;

 private:
  static std::string Reversed(const std::string& text) { return {text.rbegin(), text.rend()}; }
  static constexpr const char* kPrefix = "qc:";
};

}  // namespace quillon
