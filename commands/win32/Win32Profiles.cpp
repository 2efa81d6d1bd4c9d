// The machine's profiles through advapi32.
#include "commands/win32/Win32Profiles.h"

#include <windows.h>
#include <sddl.h>

#include <array>
#include <cstdint>

#include "settings/win32/Win32Registry.h"

namespace quillon {
namespace {

// The longest key name the registry allows, with its NUL; a SID in text is
// far shorter.
constexpr DWORD kKeyNameSize = 256;

// ProfileList lies below HKLM\SOFTWARE, whose other keys a 32-bit process
// sees redirected; Windows shares this one between both views, and so does
// Wine 8 (a SID added through the 64-bit view is there in the 32-bit one).
// The 64-bit view is named all the same, so that both builds read the one
// list Windows keeps whatever a system does with the key.
constexpr REGSAM kProfileListAccess = KEY_READ | KEY_WOW64_64KEY;

// ProfileImagePath is REG_EXPAND_SZ on Windows ("%SystemDrive%\Users\x"),
// REG_SZ on Wine; only the former is expanded, so that a "%" in a folder's
// own name stays. Empty when the value is missing or unreadable: such a
// profile has no hive file to reach.
std::string ProfileFolder(HKEY list, const std::string& sid) {
  constexpr DWORD kTexts = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegGetValueA(list, sid.c_str(), "ProfileImagePath", kTexts, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::string stored(size, '\0');
  if (RegGetValueA(list, sid.c_str(), "ProfileImagePath", kTexts, &type, stored.data(), &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  stored.resize(std::char_traits<char>::length(stored.c_str()));
  if (type != REG_EXPAND_SZ) return stored;
  const DWORD expandedSize = ExpandEnvironmentStringsA(stored.c_str(), nullptr, 0);
  std::string expanded(expandedSize, '\0');
  if (expandedSize == 0 ||
      ExpandEnvironmentStringsA(stored.c_str(), expanded.data(), expandedSize) != expandedSize) {
    return stored;
  }
  expanded.resize(expandedSize - 1);
  return expanded;
}

// "DOMAIN\name", or the name alone for an account without a domain; empty
// when Windows cannot name the SID (a deleted account, an unreachable domain).
std::string AccountName(const std::string& sidText) {
  PSID sid = nullptr;
  if (!ConvertStringSidToSidA(sidText.c_str(), &sid)) return {};
  DWORD nameSize = 0;
  DWORD domainSize = 0;
  SID_NAME_USE use{};
  LookupAccountSidA(nullptr, sid, nullptr, &nameSize, nullptr, &domainSize, &use);
  std::string name(nameSize, '\0');
  std::string domain(domainSize, '\0');
  const bool named = nameSize > 0 && LookupAccountSidA(nullptr, sid, name.data(), &nameSize,
                                                       domain.data(), &domainSize, &use);
  LocalFree(sid);
  if (!named) return {};
  // Up to the NUL: a success promises no lengths in the sizes (Wine 8 leaves
  // them as they were given).
  name.resize(std::char_traits<char>::length(name.c_str()));
  domain.resize(std::char_traits<char>::length(domain.c_str()));
  return domain.empty() ? name : domain + "\\" + name;
}

// A hive file's root key, closed (and the hive with it) when this goes.
class Win32HiveFile final : public HiveFile {
 public:
  explicit Win32HiveFile(HKEY root)
      : root_(root), keys_(static_cast<KeyHandle>(reinterpret_cast<std::uintptr_t>(root))) {}
  ~Win32HiveFile() override { RegCloseKey(root_); }
  Win32HiveFile(const Win32HiveFile&) = delete;
  Win32HiveFile& operator=(const Win32HiveFile&) = delete;
  Registry& Keys() override { return keys_; }

 private:
  HKEY root_;
  Win32Registry keys_;
};

}  // namespace

long Win32Profiles::List(std::vector<Profile>& profiles) {
  HKEY list = nullptr;
  const LSTATUS opened =
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileListPath, 0, kProfileListAccess, &list);
  if (opened != ERROR_SUCCESS) return opened;
  profiles.clear();
  LSTATUS status = ERROR_SUCCESS;
  for (DWORD index = 0; status == ERROR_SUCCESS; ++index) {
    std::array<char, kKeyNameSize> sid{};
    DWORD length = kKeyNameSize;
    status = RegEnumKeyExA(list, index, sid.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) break;
    const std::string name(sid.data(), length);
    profiles.push_back({.sid = name, .folder = ProfileFolder(list, name), .account = AccountName(name)});
  }
  RegCloseKey(list);
  return status == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : status;
}

// Wine 8's RegLoadAppKeyA is a stub: it answers success with the handle
// 0xdeadbeef for any path, and every call on that handle fails with
// ERROR_INVALID_HANDLE, which the reads then report.
long Win32Profiles::LoadHiveFile(const std::string& path, KeyAccess access,
                                 std::unique_ptr<HiveFile>& hive) {
  const REGSAM wanted = access == KeyAccess::Write ? KEY_READ | KEY_WRITE : KEY_READ;
  HKEY root = nullptr;
  const LSTATUS status = RegLoadAppKeyA(path.c_str(), &root, wanted, REG_PROCESS_APPKEY, 0);
  if (status == ERROR_SUCCESS) hive = std::make_unique<Win32HiveFile>(root);
  return status;
}

// Empty when the process token cannot be read.
std::string Win32Profiles::RunningAccountSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  // TOKEN_USER holds a pointer: the buffer is aligned for one.
  std::vector<std::uintptr_t> buffer((size + sizeof(std::uintptr_t) - 1) / sizeof(std::uintptr_t));
  const bool read = size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
  CloseHandle(token);
  char* text = nullptr;
  if (!read || !ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
    return {};
  }
  std::string sid(text);
  LocalFree(text);
  return sid;
}

// Under UAC an unelevated administrator's token holds the group for denying
// only, and CheckTokenMembership says no.
bool Win32Profiles::RunsAsAdministrator() {
  std::array<BYTE, SECURITY_MAX_SID_SIZE> administrators{};
  DWORD size = static_cast<DWORD>(administrators.size());
  if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators.data(), &size)) {
    return false;
  }
  BOOL member = FALSE;
  return CheckTokenMembership(nullptr, administrators.data(), &member) && member;
}

}  // namespace quillon
