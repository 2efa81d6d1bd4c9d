// Seeding, reading and cleaning the product's registry locations.
#include "e2e/driver/RegistryProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iomanip>
#include <utility>

namespace quillon::e2e {
namespace {

constexpr char kProductPath[] = "Software\\Marrowby\\Quillon";
constexpr char kVendorPath[] = "Software\\Marrowby";
constexpr char kLegacyPath[] = "Software\\VB and VBA Program Settings\\Marrowby\\Quillon";
constexpr char kLegacyVendorPath[] = "Software\\VB and VBA Program Settings\\Marrowby";
constexpr char kSaveDialogPath[] = "Software\\Marrowby\\Quillon\\SaveDialog";
constexpr char kEnvironmentPath[] =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr char kTemporaryFolderVariable[] = "QUILLONTEMP";
constexpr char kProcessorArchitecture[] = "PROCESSOR_ARCHITECTURE";

struct LocationRow {
  Location where;
  HKEY root;
  const char* path;
  REGSAM view;  // HKEY_CURRENT_USER\Software is one key in both views
  const char* name;
};

const LocationRow kLocations[] = {
    {Location::kMachine, HKEY_LOCAL_MACHINE, kProductPath, KEY_WOW64_32KEY,
     "machine product key (default view)"},
    {Location::kMachine64, HKEY_LOCAL_MACHINE, kProductPath, KEY_WOW64_64KEY,
     "machine product key (64-bit view)"},
    {Location::kUser, HKEY_CURRENT_USER, kProductPath, 0, "user product key"},
    {Location::kLegacy, HKEY_CURRENT_USER, kLegacyPath, 0, "legacy per-user key"},
    {Location::kSaveDialog, HKEY_CURRENT_USER, kSaveDialogPath, 0, "save dialog key"},
    {Location::kEnvironment, HKEY_LOCAL_MACHINE, kEnvironmentPath, 0, "environment key"},
};

const LocationRow& RowOf(Location where) {
  return *std::ranges::find(kLocations, where, &LocationRow::where);
}

// Owns an open key.
class Key {
 public:
  static Key Open(const LocationRow& row, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(row.root, row.path, 0, access | row.view, &key) != ERROR_SUCCESS) return {};
    return Key(key);
  }
  static Key Create(const LocationRow& row) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(row.root, row.path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE | KEY_READ | row.view, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      return {};
    }
    return Key(key);
  }
  Key() = default;
  Key(Key&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  Key& operator=(Key&&) = delete;

  explicit operator bool() const { return key_ != nullptr; }
  HKEY Get() const { return key_; }

 private:
  explicit Key(HKEY key) : key_(key) {}
  HKEY key_ = nullptr;
};

void DeleteTree(HKEY root, const char* path, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
  RegDeleteTreeA(key, nullptr);
  RegCloseKey(key);
  RegDeleteKeyExA(root, path, view, 0);
}

std::optional<RegValue> QueryValue(HKEY key, const std::string& name) {
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  RegValue value{type, std::vector<std::uint8_t>(size)};
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, value.bytes.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  return value;
}

const char* TypeName(DWORD type) {
  switch (type) {
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_DWORD: return "REG_DWORD";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_QWORD: return "REG_QWORD";
    default: return "REG_(other)";
  }
}

}  // namespace

std::string LocationName(Location where) { return RowOf(where).name; }

RegValue RegValue::Text(const std::string& text, DWORD type) {
  return {type, std::vector<std::uint8_t>(text.begin(), text.end())};
}

RegValue RegValue::TextWithNul(const std::string& text) {
  RegValue value = Text(text, REG_SZ);
  value.bytes.push_back(0);
  return value;
}

RegValue RegValue::Number(std::int32_t number) {
  std::vector<std::uint8_t> bytes(sizeof number);
  std::memcpy(bytes.data(), &number, sizeof number);
  return {REG_DWORD, bytes};
}

// Texts are shown with any NUL they carry spelt out, since a stored NUL is
// exactly the kind of difference a failure must show.
std::ostream& operator<<(std::ostream& out, const RegValue& value) {
  out << TypeName(value.type) << " ";
  if (value.type == REG_DWORD && value.bytes.size() == sizeof(std::int32_t)) {
    std::int32_t number = 0;
    std::memcpy(&number, value.bytes.data(), sizeof number);
    return out << number << " (0x" << std::hex << std::uppercase
               << static_cast<std::uint32_t>(number) << std::dec << ")";
  }
  if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
    out << '"';
    for (const std::uint8_t byte : value.bytes) {
      if (byte == 0) {
        out << "\\0";
      } else {
        out << static_cast<char>(byte);
      }
    }
    return out << '"' << " (" << value.bytes.size() << " bytes)";
  }
  out << value.bytes.size() << " bytes";
  return out;
}

namespace registry {

void CleanProductKeys() {
  for (const REGSAM view : {REGSAM{KEY_WOW64_32KEY}, REGSAM{KEY_WOW64_64KEY}}) {
    DeleteTree(HKEY_LOCAL_MACHINE, kVendorPath, view);
    DeleteTree(HKEY_LOCAL_MACHINE, kLegacyVendorPath, view);
  }
  DeleteTree(HKEY_CURRENT_USER, kVendorPath, 0);
  DeleteTree(HKEY_CURRENT_USER, kLegacyVendorPath, 0);
  const Key environment = Key::Open(RowOf(Location::kEnvironment), KEY_SET_VALUE);
  if (environment) RegDeleteValueA(environment.Get(), kTemporaryFolderVariable);
}

bool Seed(Location where, const std::string& name, const RegValue& value) {
  const Key key = Key::Create(RowOf(where));
  const bool stored =
      key && RegSetValueExA(key.Get(), name.c_str(), 0, value.type, value.bytes.data(),
                            static_cast<DWORD>(value.bytes.size())) == ERROR_SUCCESS;
  EXPECT_TRUE(stored) << "could not seed " << name << " at the " << LocationName(where);
  return stored;
}

bool SeedText(Location where, const std::string& name, const std::string& text) {
  return Seed(where, name, RegValue::TextWithNul(text));
}

bool SeedNumber(Location where, const std::string& name, std::int32_t number) {
  return Seed(where, name, RegValue::Number(number));
}

std::optional<RegValue> Read(Location where, const std::string& name) {
  const Key key = Key::Open(RowOf(where), KEY_READ);
  if (!key) return std::nullopt;
  return QueryValue(key.Get(), name);
}

ValueMap ReadAll(Location where) {
  ValueMap values;
  const Key key = Key::Open(RowOf(where), KEY_READ);
  if (!key) return values;
  std::array<char, 16384> name{};  // the longest value name the registry allows
  for (DWORD index = 0;; ++index) {
    auto length = static_cast<DWORD>(name.size());
    if (RegEnumValueA(key.Get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    const std::string valueName(name.data(), length);
    if (std::optional<RegValue> value = QueryValue(key.Get(), valueName)) {
      values.emplace(valueName, *value);
    }
  }
  return values;
}

std::string ProcessorArchitecture() {
  const std::optional<RegValue> value = Read(Location::kEnvironment, kProcessorArchitecture);
  if (!value) return {};
  const std::string text(value->bytes.begin(), value->bytes.end());
  return text.substr(0, text.find('\0'));
}

bool SetProcessorArchitecture(const std::string& architecture) {
  return Seed(Location::kEnvironment, kProcessorArchitecture, RegValue::TextWithNul(architecture));
}

bool MakeMachineProductKeyUncreatable() {
  DeleteTree(HKEY_LOCAL_MACHINE, kVendorPath, KEY_WOW64_32KEY);
  HKEY vendor = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kVendorPath, 0, nullptr, REG_OPTION_VOLATILE,
                      KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &vendor,
                      nullptr) != ERROR_SUCCESS) {
    ADD_FAILURE() << "could not create the volatile vendor key";
    return false;
  }
  RegCloseKey(vendor);
  HKEY product = nullptr;
  const LSTATUS status =
      RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_WRITE | KEY_WOW64_32KEY, nullptr, &product, nullptr);
  if (status == ERROR_SUCCESS) {
    RegCloseKey(product);
    DeleteTree(HKEY_LOCAL_MACHINE, kProductPath, KEY_WOW64_32KEY);
    ADD_FAILURE() << "this registry lets a lasting key be created below a volatile one";
    return false;
  }
  return true;
}

}  // namespace registry
}  // namespace quillon::e2e
