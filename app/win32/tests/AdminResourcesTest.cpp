// The program's resources as Windows reads them from the linked executable:
// the version information, an icon image of each size, and the manifest as
// the loader understood it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "app/win32/resources/QuillonAdminResources.h"

namespace quillon {
namespace {

std::vector<char> OwnVersionInfo() {
  std::string path(MAX_PATH, '\0');
  path.resize(GetModuleFileNameA(nullptr, path.data(), MAX_PATH));
  std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), nullptr));
  if (info.empty() ||
      !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data())) {
    return {};
  }
  return info;
}

std::string VersionString(const std::vector<char>& info, const std::string& name) {
  const std::string query = "\\StringFileInfo\\040904E4\\" + name;
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) {
    return "(missing)";
  }
  return value;
}

TEST(AdminResources, VersionIsOnePointThirtyOne) {
  const std::vector<char> info = OwnVersionInfo();
  ASSERT_FALSE(info.empty());
  const std::pair<const char*, const char*> strings[] = {
      {"FileVersion", "1.31"},
      {"ProductVersion", "1.31"},
      {"ProductName", "Quillon Administrator Utility"},
      {"FileDescription", "Quillon Administrator Utility"},
      {"OriginalFilename", "quillon-admin.exe"}};
  for (const auto& [name, value] : strings) EXPECT_EQ(VersionString(info, name), value) << name;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(31, 1));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(31, 1));
}

// The header of the icon image the system picks for a size: an exact match
// means the icon holds an image of that size rather than a stretched one.
const BITMAPINFOHEADER* IconImageFor(int size) {
  const HMODULE self = GetModuleHandleA(nullptr);
  const HRSRC group = FindResourceA(self, MAKEINTRESOURCEA(IDI_QUILLON_ADMIN), RT_GROUP_ICON);
  if (!group) return nullptr;
  auto* directory = static_cast<PBYTE>(LockResource(LoadResource(self, group)));
  const int imageId = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
  const HRSRC image = FindResourceA(self, MAKEINTRESOURCEA(imageId), RT_ICON);
  if (!image) return nullptr;
  return static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(self, image)));
}

TEST(AdminResources, IconHoldsA32BitImageOfEachSize) {
  for (const int size : {16, 32, 48}) {
    const BITMAPINFOHEADER* image = IconImageFor(size);
    ASSERT_NE(image, nullptr) << size;
    EXPECT_EQ(image->biWidth, size);
    EXPECT_EQ(image->biHeight, 2 * size) << "colour bitmap and mask, stacked";
    EXPECT_EQ(image->biBitCount, 32) << size;
  }
}

// The manifest as the loader understood it: the process's default activation
// context, which exists only when the embedded manifest parsed and its
// dependencies were found.
std::wstring ManifestSetting(const wchar_t* schema, const wchar_t* name) {
  std::wstring value(64, L'\0');
  SIZE_T length = 0;
  if (!QueryActCtxSettingsW(0, nullptr, schema, name, value.data(), value.size(), &length)) {
    return L"(missing)";
  }
  value.resize(wcslen(value.c_str()));
  return value;
}

TEST(AdminResources, ManifestAsksForCommonControlsSixSystemDpiAndTheHighestLevel) {
  ACTCTX_SECTION_KEYED_DATA data{};
  data.cbSize = sizeof data;
  EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                       L"comctl32.dll", &data));
  EXPECT_EQ(ManifestSetting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
            L"true");
  EXPECT_EQ(
      ManifestSetting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
      L"system");
  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel{};
  ASSERT_TRUE(QueryActCtxW(0, nullptr, nullptr, RunlevelInformationInActivationContext, &runLevel,
                           sizeof runLevel, nullptr));
  EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_HIGHEST_AVAILABLE);
  EXPECT_EQ(runLevel.UiAccess, 0u);
}

}  // namespace
}  // namespace quillon
