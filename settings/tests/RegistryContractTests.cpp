// The registry contract, on whichever backend the test program instantiates it
// for: the model natively, the real registry under Windows.
#include "settings/tests/RegistryContract.h"

#include <algorithm>
#include <array>
#include <optional>

namespace quillon {
namespace {

using namespace std::string_literals;
constexpr RootKey kUser = RootKey::CurrentUser;
constexpr RootKey kMachine = RootKey::LocalMachine;
constexpr RegistryView kDefault = RegistryView::Default;
constexpr RegistryView k64 = RegistryView::Wow64_64;

std::span<const std::uint8_t> Prefix(const std::string& buffer, std::size_t count) {
  return TextBytes(buffer).first(count);
}

std::string AsText(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

}  // namespace

void RegistryContract::SetUp() {
  backend_ = GetParam().make();
  access_ = std::make_unique<RegistryAccess>(registry(), messages_);
  scratchName_ = "QuillonContract." +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::replace(scratchName_.begin(), scratchName_.end(), '/', '.');
  backend_->RemoveScratchKeys(scratchName_);
}

void RegistryContract::TearDown() { backend_->RemoveScratchKeys(scratchName_); }

std::string RegistryContract::Scratch(const std::string& child) const {
  return "Software\\" + scratchName_ + (child.empty() ? "" : "\\" + child);
}

void RegistryContract::Put(RootKey root, RegistryView view, const std::string& name,
                           std::uint32_t type, std::span<const std::uint8_t> data) {
  KeyHandle key{};
  ASSERT_EQ(registry().CreateKey(root, Scratch(), KeyAccess::Write, view, key), kErrorSuccess);
  EXPECT_EQ(registry().SetValue(key, name, type, data), kErrorSuccess);
  EXPECT_EQ(registry().CloseKey(key), kErrorSuccess);
}

RawValue RegistryContract::Get(RootKey root, RegistryView view, const std::string& name) {
  KeyHandle key{};
  long code = registry().OpenKey(root, Scratch(), KeyAccess::Read, view, key);
  if (code != kErrorSuccess) return {code, kRegNone, {}};
  std::uint32_t type = kRegNone;
  std::uint32_t size = 0;
  code = registry().QueryValue(key, name, type, nullptr, size);
  std::string bytes(size, '\0');
  if (code == kErrorSuccess) {
    code = registry().QueryValue(key, name, type, reinterpret_cast<std::uint8_t*>(bytes.data()),
                                 size);
  }
  registry().CloseKey(key);
  return code == kErrorSuccess ? RawValue{code, type, bytes} : RawValue{code, kRegNone, {}};
}

bool RegistryContract::KeyExists(RootKey root, const std::string& path, RegistryView view) {
  KeyHandle key{};
  if (registry().OpenKey(root, path, KeyAccess::Read, view, key) != kErrorSuccess) return false;
  registry().CloseKey(key);
  return true;
}

// One row per way a value can be stored: what the write call was given (the
// bytes past the count are what follows in memory), what the registry then
// holds, and what the text and number reads make of it.
struct StoredCase {
  const char* what;
  std::uint32_t type;
  std::string buffer;
  std::size_t count;
  std::string stored;
  std::string text;
  std::int32_t number;
};

const StoredCase kStoredCases[] = {
    {"text with its NUL", kRegSz, "abc\0"s, 4, "abc\0"s, "abc", -1},
    {"text not followed by a NUL", kRegExpandSz, "%T%X"s, 3, "%T%", "%T%", -1},
    {"text followed by an uncounted NUL", kRegExpandSz, "%T%"s, 3, "%T%\0"s, "%T%", -1},
    {"text with a NUL inside", kRegSz, "a\0c\0"s, 4, "a\0c\0"s, "a", -1},
    {"empty text", kRegExpandSz, ""s, 0, "", "", -1},
    {"text of digits", kRegSz, "42\0"s, 3, "42\0"s, "42", -1},
    {"multi-string", kRegMultiSz, "a\0b\0\0"s, 5, "a\0b\0\0"s, "", -1},
    {"multi-string followed by a NUL", kRegMultiSz, "ab"s, 2, "ab\0"s, "", -1},
    {"binary followed by a NUL", kRegBinary, "ab"s, 2, "ab", "", -1},
    {"binary of four bytes", kRegBinary, "\x2a\0\0\0"s, 4, "\x2a\0\0\0"s, "", -1},
    {"number", kRegDword, "\x2a\0\0\0"s, 4, "\x2a\0\0\0"s, "", 42},
    {"negative number", kRegDword, "\xf9\xff\xff\xff"s, 4, "\xf9\xff\xff\xff"s, "", -7},
    {"number 0xFFFFFFFF", kRegDword, "\xff\xff\xff\xff"s, 4, "\xff\xff\xff\xff"s, "", -1},
    {"three-byte number", kRegDword, "\x2a\0\0"s, 3, "\x2a\0\0"s, "", -1},
    {"64-bit number", kRegQword, "\x2a\0\0\0\0\0\0\0"s, 8, "\x2a\0\0\0\0\0\0\0"s, "", -1},
};

TEST_P(RegistryContract, ValuesKeepTypeAndBytesAndReadAsTheProgramExpects) {
  for (const StoredCase& row : kStoredCases) {
    SCOPED_TRACE(row.what);
    Put(kUser, kDefault, row.what, row.type, Prefix(row.buffer, row.count));
    EXPECT_EQ(Get(kUser, kDefault, row.what), (RawValue{kErrorSuccess, row.type, row.stored}));
    EXPECT_EQ(access_->GetString(kUser, Scratch(), row.what), row.text);
    EXPECT_EQ(access_->GetLong(kUser, Scratch(), row.what, false), row.number);
  }
  EXPECT_EQ(access_->GetString(kUser, Scratch(), "missing"), "");
  EXPECT_EQ(access_->GetLong(kUser, Scratch(), "missing", true), -1);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_P(RegistryContract, QueryReportsSizesAsTheAnsiCallDoes) {
  Put(kUser, kDefault, "bare", kRegExpandSz, Prefix("abcX", 3));
  KeyHandle key{};
  ASSERT_EQ(registry().OpenKey(kUser, Scratch(), KeyAccess::Read, kDefault, key), kErrorSuccess);
  std::uint32_t type = kRegNone;
  std::uint32_t size = 0;
  EXPECT_EQ(registry().QueryValue(key, "bare", type, nullptr, size), kErrorSuccess);
  EXPECT_EQ(type, kRegExpandSz);
  EXPECT_EQ(size, 3u);
  std::array<std::uint8_t, 8> buffer{};
  const auto query = [&](std::uint32_t bufferSize) {
    buffer.fill(0xAA);
    size = bufferSize;
    return registry().QueryValue(key, "bare", type, buffer.data(), size);
  };
  EXPECT_EQ(query(3), kErrorSuccess);  // no room for a NUL
  EXPECT_EQ(AsText(std::span(buffer).first(4)), "abc\xaa");
  EXPECT_EQ(query(8), kErrorSuccess);  // room to spare: a NUL is added, uncounted
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(AsText(std::span(buffer).first(5)), "abc\0\xaa"s);
  EXPECT_EQ(query(2), kErrorMoreData);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(registry().QueryValue(key, "missing", type, nullptr, size), kErrorFileNotFound);
  EXPECT_EQ(registry().CloseKey(key), kErrorSuccess);
}

TEST_P(RegistryContract, HandlesCarryTheirAccess) {
  Put(kUser, kDefault, "n", kRegDword, DwordBytes(1));
  KeyHandle writer{};
  KeyHandle reader{};
  ASSERT_EQ(registry().OpenKey(kUser, Scratch(), KeyAccess::Write, kDefault, writer), 0);
  ASSERT_EQ(registry().OpenKey(kUser, Scratch(), KeyAccess::Read, kDefault, reader), 0);
  std::uint32_t type = kRegNone;
  std::uint32_t size = 0;
  EXPECT_EQ(registry().QueryValue(writer, "n", type, nullptr, size), kErrorAccessDenied);
  EXPECT_EQ(registry().SetValue(reader, "n", kRegDword, DwordBytes(2)), kErrorAccessDenied);
  EXPECT_EQ(registry().DeleteValue(reader, "n"), kErrorAccessDenied);
  EXPECT_EQ(registry().DeleteValue(writer, "missing"), kErrorFileNotFound);
  EXPECT_EQ(registry().CloseKey(writer), kErrorSuccess);
  EXPECT_EQ(registry().CloseKey(reader), kErrorSuccess);
  EXPECT_EQ(registry().CloseKey(reader), kErrorInvalidHandle);
}

TEST_P(RegistryContract, CreateAndTheReadsLeaveKeysBehindWhileOpenDoesNot) {
  KeyHandle key{};
  EXPECT_EQ(registry().OpenKey(kMachine, Scratch("A"), KeyAccess::Write, kDefault, key),
            kErrorFileNotFound);
  EXPECT_EQ(registry().OpenKey(kMachine, "\\" + Scratch("A"), KeyAccess::Read, kDefault, key),
            kErrorBadPathname);
  EXPECT_FALSE(KeyExists(kMachine, Scratch(), kDefault));
  ASSERT_EQ(registry().CreateKey(kMachine, Scratch("A\\B"), KeyAccess::Read, kDefault, key), 0);
  EXPECT_EQ(registry().CloseKey(key), kErrorSuccess);
  EXPECT_TRUE(KeyExists(kMachine, Scratch("A\\B"), kDefault));

  EXPECT_EQ(access_->GetLong(kMachine, Scratch("N"), "n", true), -1);
  EXPECT_EQ(access_->GetString(kMachine, Scratch("S"), "s"), "");
  EXPECT_TRUE(KeyExists(kMachine, Scratch("N"), k64));
  EXPECT_FALSE(KeyExists(kMachine, Scratch("N"), kDefault));
  EXPECT_TRUE(KeyExists(kMachine, Scratch("S"), kDefault));
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_P(RegistryContract, NamesIgnoreCase) {
  Put(kUser, kDefault, "Auto Merge", kRegDword, DwordBytes(5));
  std::string shouted = Scratch();
  std::transform(shouted.begin(), shouted.end(), shouted.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  EXPECT_EQ(access_->GetLong(kUser, shouted, "AUTO MERGE", false), 5);
}

TEST_P(RegistryContract, MachineSoftwareHasTwoViewsWhileUserSoftwareAndSystemAreShared) {
  Put(kMachine, kDefault, "n", kRegDword, DwordBytes(32));
  Put(kMachine, k64, "n", kRegDword, DwordBytes(64));
  Put(kUser, kDefault, "n", kRegDword, DwordBytes(1));
  EXPECT_EQ(Get(kMachine, kDefault, "n").bytes, AsText(DwordBytes(32)));
  EXPECT_EQ(Get(kMachine, k64, "n").bytes, AsText(DwordBytes(64)));
  EXPECT_EQ(Get(kUser, k64, "n").bytes, AsText(DwordBytes(1)));
  // The architecture is read through the default view: SYSTEM is not redirected.
  EXPECT_TRUE(access_->Is64BitWindows());
}

TEST_P(RegistryContract, SavesStoreExpandableTextAndFourByteNumbersInTheDefaultView) {
  EXPECT_TRUE(access_->SaveString(kMachine, Scratch(), "text", "C:\\%USER%"));
  EXPECT_TRUE(access_->SaveString(kMachine, Scratch(), "empty", ""));
  EXPECT_TRUE(access_->SaveLong(kMachine, Scratch(), "number", -2));
  // The ANSI call also stores the NUL that follows the text in memory.
  EXPECT_EQ(Get(kMachine, kDefault, "text"), (RawValue{0, kRegExpandSz, "C:\\%USER%\0"s}));
  EXPECT_EQ(Get(kMachine, kDefault, "empty"), (RawValue{0, kRegExpandSz, ""}));
  EXPECT_EQ(Get(kMachine, kDefault, "number"), (RawValue{0, kRegDword, "\xfe\xff\xff\xff"s}));
  EXPECT_EQ(Get(kMachine, k64, "number").code, kErrorFileNotFound);
  EXPECT_EQ(access_->GetString(kMachine, Scratch(), "text"), "C:\\%USER%");
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_P(RegistryContract, GetLongAnyViewTriesTheSixtyFourBitViewFirst) {
  struct Case {
    const char* what;
    std::optional<std::int32_t> sixtyFourBit, defaultView;  // nullopt: not stored there
    std::int32_t expected;
  };
  const Case cases[] = {
      {"both views", 64, 32, 64},
      {"default view only", std::nullopt, 32, 32},
      {"64-bit view only", 64, std::nullopt, 64},
      {"0xFFFFFFFF in the 64-bit view", -1, 32, 32},
      {"0xFFFFFFFF in both", -1, -1, 9},
      {"nowhere", std::nullopt, std::nullopt, 9},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    if (row.sixtyFourBit) Put(kMachine, k64, row.what, kRegDword, DwordBytes(*row.sixtyFourBit));
    if (row.defaultView) Put(kMachine, kDefault, row.what, kRegDword, DwordBytes(*row.defaultView));
    EXPECT_EQ(access_->GetLongAnyView(kMachine, Scratch(), row.what, 9), row.expected);
  }
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_P(RegistryContract, DeleteValueIsSilentForMissingValuesAndKeysAndKeepsToItsView) {
  Put(kMachine, kDefault, "n", kRegDword, DwordBytes(32));
  Put(kMachine, k64, "n", kRegDword, DwordBytes(64));
  EXPECT_TRUE(access_->DeleteValue(kMachine, Scratch(), "n", true));
  EXPECT_EQ(Get(kMachine, k64, "n").code, kErrorFileNotFound);
  EXPECT_EQ(Get(kMachine, kDefault, "n").code, kErrorSuccess);
  EXPECT_TRUE(access_->DeleteValue(kMachine, Scratch(), "n"));
  EXPECT_EQ(Get(kMachine, kDefault, "n").code, kErrorFileNotFound);
  EXPECT_TRUE(access_->DeleteValue(kMachine, Scratch(), "n"));
  EXPECT_TRUE(access_->DeleteValue(kMachine, Scratch("Missing"), "n", true));
  EXPECT_FALSE(KeyExists(kMachine, Scratch("Missing"), k64));
  EXPECT_TRUE(messages_.shown.empty());
}

}  // namespace quillon
