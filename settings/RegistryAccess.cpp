// The program's registry operations and their failure messages.
#include "settings/RegistryAccess.h"

#include <array>
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
  if (code == kErrorFileNotFound) return {none, ReadOutcome::Absent};
  return {none, ReadOutcome::Unreadable, code};
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
                                     bool use64BitView) {
  return ReadLong(location, value, use64BitView).data;
}

NumberRead RegistryAccess::ReadLong(const Location& location, const std::string& value,
                                    bool use64BitView, OnOpenFailure onOpenFailure) {
  const RegistryView view = ViewFor(use64BitView);
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

bool RegistryAccess::DeleteValue(const Location& location, const std::string& value,
                                 bool use64BitView) {
  KeyHandle key{};
  const long opened =
      registry_.OpenKey(location.root, location.path, KeyAccess::Write, ViewFor(use64BitView), key);
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

RegistryView RegistryAccess::ViewFor(bool use64BitView) {
  return use64BitView && Is64BitWindows() ? RegistryView::Wow64_64 : RegistryView::Default;
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
  const KeyCloser closer(registry_, key);
  std::uint32_t type = kRegNone;
  std::uint32_t size = 0;
  if (const long queried = registry_.QueryValue(key, value, type, nullptr, size);
      queried != kErrorSuccess) {
    return NoValueRead<std::string>(queried);
  }
  if (!IsTextValue(type)) return {{}, ReadOutcome::WrongType};
  // A buffer of exactly the stored size leaves no room for a NUL the value
  // lacks, so text stored without one comes back whole.
  std::string text(size, '\0');
  if (const long read = registry_.QueryValue(key, value, type,
                                             reinterpret_cast<std::uint8_t*>(text.data()), size);
      read != kErrorSuccess) {
    return NoValueRead<std::string>(read);
  }
  text.resize(size);
  return {text.substr(0, text.find('\0')), ReadOutcome::Found};
}

NumberRead RegistryAccess::ReadNumberAndClose(KeyHandle key, const std::string& value) {
  const KeyCloser closer(registry_, key);
  std::uint32_t type = kRegNone;
  std::uint32_t size = 0;
  if (const long queried = registry_.QueryValue(key, value, type, nullptr, size);
      queried != kErrorSuccess) {
    return NoValueRead<std::int32_t>(queried);
  }
  if (!IsNumberValue(type, size)) return {kAbsentNumber, ReadOutcome::WrongType};
  std::array<std::uint8_t, kDwordSize> bytes{};
  if (const long read = registry_.QueryValue(key, value, type, bytes.data(), size);
      read != kErrorSuccess) {
    return NoValueRead<std::int32_t>(read);
  }
  return {DwordNumber(bytes), ReadOutcome::Found};
}

void RegistryAccess::ShowFailure(const std::string& text) {
  messages_.Show(text, kAdminUtilityTitle, kFailureStyle);
}

}  // namespace quillon
