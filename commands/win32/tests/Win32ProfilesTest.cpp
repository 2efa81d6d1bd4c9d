// The profiles as advapi32 gives them, in the test prefix's registry: the
// running account among them, and entries of ProfileList written as Windows
// writes them. Loading a hive file is not tried here: Wine 8's RegLoadAppKey
// is a stub that hands back a handle no call accepts.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/win32/Win32Profiles.h"

namespace quillon {
namespace {

const Profile* Find(const std::vector<Profile>& profiles, const std::string& sid) {
  const auto found = std::ranges::find(profiles, sid, &Profile::sid);
  return found == profiles.end() ? nullptr : &*found;
}

TEST(Win32Profiles, ListsTheRunningAccountWithItsFolderAndName) {
  Win32Profiles profiles;
  std::vector<Profile> listed;
  ASSERT_EQ(profiles.List(listed), ERROR_SUCCESS);
  const std::string running = profiles.RunningAccountSid();
  ASSERT_EQ(running.rfind("S-1-5-21-", 0), 0u) << running;
  const Profile* own = Find(listed, running);
  ASSERT_NE(own, nullptr) << running;
  const DWORD attributes = GetFileAttributesA(own->folder.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      << own->folder;
  std::vector<char> user(257);
  DWORD size = static_cast<DWORD>(user.size());
  ASSERT_TRUE(GetUserNameA(user.data(), &size));
  EXPECT_TRUE(own->account.ends_with(std::string("\\") + user.data())) << own->account;
  // Wine's one user is an administrator, as an elevated prompt's is.
  EXPECT_TRUE(profiles.RunsAsAdministrator());
}

// A ProfileList entry as Windows stores it, and what List makes of it.
struct Entry {
  const char* sid;
  DWORD type;           // of ProfileImagePath; REG_NONE: no such value
  const char* stored;
  const char* folder;
  const char* account;
};

TEST(Win32Profiles, ReadsEachEntryAsWindowsWritesIt) {
  const Entry entries[] = {
      {"S-1-5-18", REG_EXPAND_SZ, "%SystemRoot%\\system32\\config\\systemprofile",
       "C:\\windows\\system32\\config\\systemprofile", "NT AUTHORITY\\SYSTEM"},
      // Not expanded: the "%" belong to the folder's own name.
      {"S-1-5-21-1-2-3-1001", REG_SZ, "C:\\Users\\%SystemRoot%", "C:\\Users\\%SystemRoot%", ""},
      {"S-1-5-21-1-2-3-1002", REG_NONE, "", "", ""},
  };
  const std::string list = std::string(kProfileListPath) + "\\";
  for (const Entry& entry : entries) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (list + entry.sid).c_str(), 0, nullptr, 0,
                              KEY_WRITE | KEY_WOW64_64KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (entry.type != REG_NONE) {
      RegSetValueExA(key, "ProfileImagePath", 0, entry.type,
                     reinterpret_cast<const BYTE*>(entry.stored),
                     static_cast<DWORD>(std::char_traits<char>::length(entry.stored) + 1));
    }
    RegCloseKey(key);
  }
  Win32Profiles profiles;
  std::vector<Profile> listed;
  const long status = profiles.List(listed);
  for (const Entry& entry : entries) {
    HKEY parent = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileListPath, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &parent);
    RegDeleteTreeA(parent, entry.sid);
    RegCloseKey(parent);
  }
  ASSERT_EQ(status, ERROR_SUCCESS);
  for (const Entry& entry : entries) {
    const Profile* profile = Find(listed, entry.sid);
    ASSERT_NE(profile, nullptr) << entry.sid;
    EXPECT_TRUE(SameName(profile->folder, entry.folder)) << entry.sid << ": " << profile->folder;
    EXPECT_EQ(profile->account, entry.account) << entry.sid;
  }
}

}  // namespace
}  // namespace quillon
