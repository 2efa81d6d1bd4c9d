#pragma once
// The registry contract: what the program relies on from the registry, written
// once and run on each backend a test program instantiates it for. Each test
// works below its own scratch key in HKCU\Software and HKLM\Software, as an
// administrator on 64-bit Windows.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "platform/substitute/RecordedMessageBoxes.h"
#include "settings/RegistryAccess.h"

namespace quillon {

struct RegistryBackend {
  const char* name;
  std::unique_ptr<Registry> (*make)();
  // Removes Software\<scratch> with everything below it, under the current
  // user and in both views of the local machine.
  void (*removeScratchKeys)(const std::string& scratch) = [](const std::string&) {};
};
inline void PrintTo(const RegistryBackend& backend, std::ostream* out) { *out << backend.name; }

class RegistryContract : public ::testing::TestWithParam<RegistryBackend> {
 protected:
  void SetUp() override { GetParam().removeScratchKeys(scratch_); }
  void TearDown() override { GetParam().removeScratchKeys(scratch_); }
  // A key of the scratch tree as the registry operations take it; `path`
  // lives to the end of the call it is made for.
  static Location At(RootKey root, const std::string& path) { return {root, path.c_str()}; }
  std::string Scratch(const std::string& child = "") const {
    return "Software\\" + scratch_ + (child.empty() ? "" : "\\" + child);
  }
  // Through the registry calls: a value written to the scratch key; a value
  // read as "<type>:<bytes>", or the code of the query that failed, or "-"
  // and the code of the open that failed.
  void Put(RootKey root, RegistryView view, const std::string& name, std::uint32_t type,
           std::span<const std::uint8_t> data) {
    KeyHandle key{};
    ASSERT_EQ(registry->CreateKey(root, Scratch(), KeyAccess::Write, view, key), kErrorSuccess);
    EXPECT_EQ(registry->SetValue(key, name, type, data), kErrorSuccess);
    registry->CloseKey(key);
  }
  std::string Get(RootKey root, RegistryView view, const std::string& name, std::string path = "") {
    KeyHandle key{};
    long code =
        registry->OpenKey(root, path.empty() ? Scratch() : path, KeyAccess::Read, view, key);
    if (code != kErrorSuccess) return "-" + std::to_string(code);
    std::uint32_t type = kRegNone;
    std::uint32_t size = 0;
    code = registry->QueryValue(key, name, type, nullptr, size);
    std::string bytes(size, '\0');
    if (code == kErrorSuccess) {
      code = registry->QueryValue(key, name, type, reinterpret_cast<std::uint8_t*>(bytes.data()),
                                  size);
    }
    registry->CloseKey(key);
    return code == kErrorSuccess ? std::to_string(type) + ":" + bytes : std::to_string(code);
  }

  std::unique_ptr<Registry> registry = GetParam().make();
  RecordedMessageBoxes messages_;
  RegistryAccess access_{*registry, messages_};
  const std::string scratch_ =
      "QuillonContract." +
      std::string(testing::UnitTest::GetInstance()->current_test_info()->name());
};

}  // namespace quillon
