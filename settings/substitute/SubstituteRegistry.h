#pragma once
// An in-memory Windows registry for native tests. It keeps what the program can
// observe of the real one: two roots of nested keys whose names ignore case;
// values as a type plus raw bytes; HKEY_LOCAL_MACHINE\Software split into a
// 32-bit and a 64-bit view on 64-bit Windows (the 32-bit view lives under
// Software\Wow6432Node) while HKEY_CURRENT_USER\Software and
// HKEY_LOCAL_MACHINE\SYSTEM are shared; handles that carry their access; the
// quirks of the ANSI calls around a string's NUL; a standard user who may not
// create or write below HKEY_LOCAL_MACHINE. Any single call can be made to fail.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "settings/Registry.h"

namespace quillon {

enum class RegistryCall { CreateKey, OpenKey, QueryValue, SetValue, DeleteValue, CloseKey };

// A value as stored, where it is stored: the path is the physical one, so the
// 32-bit view's copies show under Software\Wow6432Node.
struct StoredValue {
  RootKey root;
  std::string path;
  std::string name;
  std::uint32_t type;
  std::vector<std::uint8_t> data;
  bool operator==(const StoredValue&) const = default;
};

class SubstituteRegistry final : public Registry {
 public:
  enum class Windows { Bits32, Bits64 };

  // Seeds the processor architecture ("AMD64" or "x86") in the system
  // environment; whether HKEY_LOCAL_MACHINE\Software has two views follows
  // that stored value, as the program's own test of it does.
  explicit SubstituteRegistry(Windows windows = Windows::Bits64);
  ~SubstituteRegistry() override;

  long CreateKey(RootKey root, const std::string& path, KeyAccess access, RegistryView view,
                 KeyHandle& key) override;
  long OpenKey(RootKey root, const std::string& path, KeyAccess access, RegistryView view,
               KeyHandle& key) override;
  long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                  std::uint32_t& size) override;
  long SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  long DeleteValue(KeyHandle key, const std::string& name) override;
  long CloseKey(KeyHandle key) override;

  void SetStandardUser(bool standardUser) { standardUser_ = standardUser; }

  // The nth call of that kind from now on (1: the next one) returns code and
  // does nothing else. Several failures may be pending at once.
  void FailCall(RegistryCall call, int nth, long code);
  // Calls of that kind made so far, failed ones included.
  int CallCount(RegistryCall call) const;
  // Handles opened and not yet closed.
  std::size_t OpenHandleCount() const { return handles_.size(); }

  // Seeding and inspection for tests. These are not registry calls: they are
  // neither counted nor failed, and ignore the standard user's limits.
  void PutValue(RootKey root, const std::string& path, RegistryView view, const std::string& name,
                std::uint32_t type, std::span<const std::uint8_t> data);
  std::optional<StoredValue> FindValue(RootKey root, const std::string& path, RegistryView view,
                                       const std::string& name) const;
  bool KeyExists(RootKey root, const std::string& path, RegistryView view) const;
  std::vector<StoredValue> ListValues() const;

 private:
  struct Key;
  struct OpenedKey {
    Key* key;
    KeyAccess access;
  };
  struct PendingFailure {
    RegistryCall call;
    int callNumber;
    long code;
  };

  bool HasTwoViews() const;
  std::vector<std::string> PhysicalNames(RootKey root, const std::string& path,
                                         RegistryView view) const;
  Key* Find(RootKey root, const std::vector<std::string>& names) const;
  Key* FindOrCreate(RootKey root, const std::vector<std::string>& names);
  bool MayWrite(RootKey root) const;
  KeyHandle Open(Key* key, KeyAccess access);
  const OpenedKey* Opened(KeyHandle key) const;
  std::optional<long> RecordCall(RegistryCall call);

  std::unique_ptr<Key> currentUser_;
  std::unique_ptr<Key> localMachine_;
  std::map<std::uintptr_t, OpenedKey> handles_;
  std::uintptr_t nextHandle_ = 0x1000;
  bool standardUser_ = false;
  std::map<RegistryCall, int> callCounts_;
  std::vector<PendingFailure> pendingFailures_;
};

}  // namespace quillon
