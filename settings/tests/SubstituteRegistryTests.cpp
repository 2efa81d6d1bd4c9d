// The registry model: the contract run on it, and what only the model can
// show, a standard user. Its injected failures are what the fault tests of
// the registry operations and of Apply are built on.
#include "settings/substitute/SubstituteRegistry.h"

#include <gtest/gtest.h>

#include "settings/tests/RegistryContract.h"

namespace quillon {
namespace {

class SubstituteBackend final : public RegistryBackend {
 public:
  Registry& registry() override { return model_; }
  // Every test has a model of its own: nothing to remove.
  void RemoveScratchKeys(const std::string&) override {}

 private:
  SubstituteRegistry model_;
};

INSTANTIATE_TEST_SUITE_P(
    Substitute, RegistryContract,
    ::testing::Values(BackendMaker{"Substitute", []() -> std::unique_ptr<RegistryBackend> {
      return std::make_unique<SubstituteBackend>();
    }}));

constexpr const char* kProduct = "Software\\Marrowby\\Quillon";
constexpr const char* kMissing = "Software\\Marrowby\\Missing";

TEST(SubstituteRegistry, StandardUserMayReadButNotCreateOrWriteBelowLocalMachine) {
  struct Case {
    bool create;
    RootKey root;
    const char* path;
    KeyAccess access;
    long expected;
  };
  const Case cases[] = {
      {true, RootKey::LocalMachine, kProduct, KeyAccess::Read, 0},
      {true, RootKey::LocalMachine, kProduct, KeyAccess::Write, 5},
      {true, RootKey::LocalMachine, kMissing, KeyAccess::Read, 5},
      {false, RootKey::LocalMachine, kMissing, KeyAccess::Write, 2},
      {false, RootKey::LocalMachine, kProduct, KeyAccess::Write, 5},
      {false, RootKey::LocalMachine, kProduct, KeyAccess::Read, 0},
      {true, RootKey::CurrentUser, kMissing, KeyAccess::Write, 0},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(testing::Message() << (row.create ? "create " : "open ") << row.path);
    SubstituteRegistry model;
    model.PutValue(RootKey::LocalMachine, kProduct, RegistryView::Default, "n", kRegDword,
                   DwordBytes(1));
    model.SetStandardUser(true);
    KeyHandle key{};
    const auto call = row.create ? &SubstituteRegistry::CreateKey : &SubstituteRegistry::OpenKey;
    const long code = (model.*call)(row.root, row.path, row.access, RegistryView::Default, key);
    EXPECT_EQ(code, row.expected);
    EXPECT_EQ(model.OpenHandleCount(), code == kErrorSuccess ? 1u : 0u);
    EXPECT_EQ(model.KeyExists(row.root, kMissing, RegistryView::Default),
              code == kErrorSuccess && std::string(row.path) == kMissing);
  }
}

}  // namespace
}  // namespace quillon
