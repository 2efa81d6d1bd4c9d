#pragma once
// The helper library for native tests: it stores "qc:", the key's first
// character and the password reversed, and reads that back; or it fails as
// `status` says (the library not loaded, or an export missing).
#include <string>

#include "crypto/HelperLibrary.h"

namespace quillon {

class SubstituteHelperLibrary final : public HelperLibrary {
 public:
  HelperResult EncryptString(const std::string& key, const std::string& password) override {
    return Answer("qc:" + key.substr(0, 1) + std::string(password.rbegin(), password.rend()));
  }
  HelperResult DecryptString(const std::string& key, const std::string& stored) override {
    const bool ours = stored.starts_with("qc:" + key.substr(0, 1));
    return Answer(ours ? std::string(stored.rbegin(), stored.rend() - 4) : "?");
  }
  HelperStatus status = HelperStatus::Ok;

 private:
  HelperResult Answer(const std::string& text) const {
    return status == HelperStatus::Ok ? HelperResult{status, text} : HelperResult{status, {}};
  }
};

}  // namespace quillon
