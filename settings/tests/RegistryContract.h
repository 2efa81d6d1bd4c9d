#pragma once
// The registry contract: what the program relies on from the registry, written
// once and run on each backend a test program instantiates it for. Each test
// works below its own scratch key in HKCU\Software and HKLM\Software.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <span>
#include <string>

#include "platform/substitute/RecordedMessageBoxes.h"
#include "settings/RegistryAccess.h"

namespace quillon {

// A registry seen by an administrator on 64-bit Windows.
class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;
  virtual Registry& registry() = 0;
  // Removes Software\<name> with everything below it, under the current user
  // and in both views of the local machine.
  virtual void RemoveScratchKeys(const std::string& name) = 0;
};

struct BackendMaker {
  const char* name;
  std::unique_ptr<RegistryBackend> (*make)();
};

inline void PrintTo(const BackendMaker& maker, std::ostream* out) { *out << maker.name; }

// A value as the registry calls report it.
struct RawValue {
  long code;
  std::uint32_t type;
  std::string bytes;
  bool operator==(const RawValue&) const = default;
};

class RegistryContract : public ::testing::TestWithParam<BackendMaker> {
 protected:
  void SetUp() override;
  void TearDown() override;

  Registry& registry() { return backend_->registry(); }
  std::string Scratch(const std::string& child = "") const;
  // Writes to the scratch key through the registry calls.
  void Put(RootKey root, RegistryView view, const std::string& name, std::uint32_t type,
           std::span<const std::uint8_t> data);
  RawValue Get(RootKey root, RegistryView view, const std::string& name);
  bool KeyExists(RootKey root, const std::string& path, RegistryView view);

  RecordedMessageBoxes messages_;
  std::unique_ptr<RegistryBackend> backend_;
  std::unique_ptr<RegistryAccess> access_;

 private:
  std::string scratchName_;
};

}  // namespace quillon
