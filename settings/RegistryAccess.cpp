// The program's registry operations and their failure messages.
#include "settings/RegistryAccess.h"

#include <algorithm>
#include <type_traits>

#include "settings/SettingLocations.h"

namespace quillon {
namespace {

constexpr const char* kSixtyFourBitArchitecture = "AMD64";
constexpr unsigned kFailureStyle = kMbIconExclamation | kMbOk;

// "Unable to <action> value <name>, <step> error code <code>"
std::string UnableTo(const char* action, const std::string& value, const char* step, long code) {
  return std::string("Unable to ") + action + " value " + value + ", " + step + " error code " +
         std::to_string(code);
}

std::string CouldNotOpen(const std::string& path, const std::string& value, long code) {
  return "Could not open key at " + path + " for setting " + value + ", open error code " +
         std::to_string(code);
}

// Closes a key when the operation that opened it ends, on every path.
class KeyCloser {
 public:
  KeyCloser(Registry& registry, KeyHandle key) : registry_(registry), key_(key) {}
  KeyCloser(const KeyCloser&) = delete;
  KeyCloser& operator=(const KeyCloser&) = delete;
  ~KeyCloser() { registry_.CloseKey(key_); }

 private:
  Registry& registry_;
  KeyHandle key_;
};

// A read that got no value: absent where the key or value is not found,
// unreadable with the code otherwise.
template <typename Data>
ReadResult<Data> NoValueRead(long code) {
  Data none{};
  if constexpr (std::is_same_v<Data, std::int32_t>) none = kAbsentNumber;
  if (code == kErrorFileNotFound) return {none, ReadOutcome::Absent, kErrorSuccess, {}};
  return {none, ReadOutcome::Unreadable, code, {}};
}

}  // namespace

RegistryAccess::RegistryAccess(Registry& registry, MessageBoxes& messages)
    : registry_(registry), messages_(messages) {}

bool RegistryAccess::Is64BitWindows() {
  return GetString(kEnvironmentKey, kProcessorArchitectureValue) == kSixtyFourBitArchitecture;
}

std::string RegistryAccess::GetString(const Location& location, const std::string& value) {
  return ReadString(location, value).data;
}

TextRead RegistryAccess::ReadString(const Location& location, const std::string& value) {
  KeyHandle key{};
  const long opened = OpenForRead(location, RegistryView::Default, key);
  if (opened != kErrorSuccess) return NoValueRead<std::string>(opened);
  return ReadTextAndClose(key, value);
}

TextRead RegistryAccess::ReadStringIfKeyExists(const Location& location,
                                               const std::string& value) {
  KeyHandle key{};
  const long opened = registry_.OpenKey(location.root, location.path, KeyAccess::Read,
                                        RegistryView::Default, key);
  if (opened != kErrorSuccess) return NoValueRead<std::string>(opened);
  return ReadTextAndClose(key, value);
}

bool RegistryAccess::SaveString(const Location& location, const std::string& value,
                                const std::string& data) {
  // The count excludes the NUL, yet the ANSI call stores one: a std::string's
  // text is always followed by it.
  return SaveValue(location, value, kRegExpandSz, TextBytes(data));
}

std::int32_t RegistryAccess::GetLong(const Location& location, const std::string& value,
                                     RegistryView view) {
  return ReadLong(location, value, view).data;
}

NumberRead RegistryAccess::ReadLong(const Location& location, const std::string& value,
                                    RegistryView view, OnOpenFailure onOpenFailure) {
  KeyHandle key{};
  const long opened = OpenForRead(location, view, key);
  if (opened != kErrorSuccess) {
    if (opened != kErrorFileNotFound && onOpenFailure == OnOpenFailure::Show) {
      ShowFailure(CouldNotOpen(location.path, value, opened));
    }
    return NoValueRead<std::int32_t>(opened);
  }
  return ReadNumberAndClose(key, value);
}

bool RegistryAccess::SaveLong(const Location& location, const std::string& value,
                              std::int32_t number) {
  return SaveValue(location, value, kRegDword, DwordBytes(number));
}

StoredRead RegistryAccess::ReadStored(const Location& location, const std::string& value,
                                      RegistryView view) {
  KeyHandle key{};
  StoredRead read;
  read.error = registry_.OpenKey(location.root, location.path, KeyAccess::Read, view, key);
  if (read.error == kErrorSuccess) read.error = ReadStoredAndClose(key, value, read.stored);
  return read;
}

bool RegistryAccess::DeleteValue(const Location& location, const std::string& value,
                                 RegistryView view) {
  KeyHandle key{};
  const long opened = registry_.OpenKey(location.root, location.path, KeyAccess::Write, view, key);
  if (opened == kErrorFileNotFound) return true;
  if (opened != kErrorSuccess) {
    ShowFailure(UnableTo("delete", value, "open", opened));
    return false;
  }
  const KeyCloser closer(registry_, key);
  const long deleted = registry_.DeleteValue(key, value);
  if (deleted == kErrorSuccess || deleted == kErrorFileNotFound) return true;
  ShowFailure(UnableTo("delete", value, "save", deleted));
  return false;
}

// Create-or-open first, as every read does. A user who may not create a
// missing key gets access denied rather than not found, although the value is
// simply absent: a plain open tells the two apart. Any other failure reports
// the create-or-open's code.
long RegistryAccess::OpenForRead(const Location& location, RegistryView view,
                                       KeyHandle& key) {
  const long created =
      registry_.CreateKey(location.root, location.path, KeyAccess::Read, view, key);
  if (created == kErrorSuccess) return created;
  const long opened = registry_.OpenKey(location.root, location.path, KeyAccess::Read, view, key);
  return opened == kErrorSuccess || opened == kErrorFileNotFound ? opened : created;
}

bool RegistryAccess::SaveValue(const Location& location, const std::string& value,
                               std::uint32_t type, std::span<const std::uint8_t> data) {
  KeyHandle key{};
  const long opened = registry_.CreateKey(location.root, location.path, KeyAccess::Write,
                                          RegistryView::Default, key);
  if (opened != kErrorSuccess) {
    ShowFailure(UnableTo("save", value, "open", opened));
    return false;
  }
  const KeyCloser closer(registry_, key);
  const long written = registry_.SetValue(key, value, type, data);
  if (written != kErrorSuccess) {
    ShowFailure(UnableTo("save", value, "save", written));
    return false;
  }
  return true;
}

TextRead RegistryAccess::ReadTextAndClose(KeyHandle key, const std::string& value) {
  TextRead read;
  if (const long code = ReadStoredAndClose(key, value, read.stored); code != kErrorSuccess) {
    return NoValueRead<std::string>(code);
  }
  read.outcome = IsTextValue(read.stored.type) ? ReadOutcome::Found : ReadOutcome::WrongType;
  if (read.outcome == ReadOutcome::Found) {
    const auto& bytes = read.stored.data;
    read.data.assign(bytes.begin(), std::ranges::find(bytes, std::uint8_t{0}));
  }
  return read;
}

NumberRead RegistryAccess::ReadNumberAndClose(KeyHandle key, const std::string& value) {
  NumberRead read;
  if (const long code = ReadStoredAndClose(key, value, read.stored); code != kErrorSuccess) {
    return NoValueRead<std::int32_t>(code);
  }
  const auto& bytes = read.stored.data;
  if (!IsNumberValue(read.stored.type, static_cast<std::uint32_t>(bytes.size()))) {
    read.data = kAbsentNumber;
    read.outcome = ReadOutcome::WrongType;
    return read;
  }
  read.data = DwordNumber({bytes[0], bytes[1], bytes[2], bytes[3]});
  read.outcome = ReadOutcome::Found;
  return read;
}

// A buffer of exactly the stored size leaves no room for a NUL a text lacks,
// so a text stored without one comes back whole.
long RegistryAccess::ReadStoredAndClose(KeyHandle key, const std::string& value,
                                        RegistryValue& stored) {
  const KeyCloser closer(registry_, key);
  std::uint32_t size = 0;
  if (const long queried = registry_.QueryValue(key, value, stored.type, nullptr, size);
      queried != kErrorSuccess) {
    return queried;
  }
  stored.data.resize(size);
  if (size == 0) return kErrorSuccess;
  const long read = registry_.QueryValue(key, value, stored.type, stored.data.data(), size);
  stored.data.resize(size);
  return read;
}

void RegistryAccess::ShowFailure(const std::string& text) {
  messages_.Show(text, kRegistryFailureTitle, kFailureStyle);
}

}  // namespace quillon
