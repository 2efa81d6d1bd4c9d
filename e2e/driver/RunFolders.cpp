// The run's folders from the paths the build passes in.
#include "e2e/driver/RunFolders.h"

#include <windows.h>

#include <algorithm>

namespace quillon::e2e {
namespace {

// Set by e2e/CMakeLists.txt, as host paths.
constexpr char kUtilityOnHost[] = QUILLON_E2E_UTILITY;
constexpr char kWorkFolderOnHost[] = QUILLON_E2E_WORK_FOLDER;
constexpr char kCupsStateOnHost[] = QUILLON_E2E_CUPS_STATE;

// A fresh prefix maps the host's root directory to this drive.
constexpr char kHostRootDrive[] = "Z:";

std::string CreatedFolder(const std::string& path) {
  CreateDirectoryA(path.c_str(), nullptr);  // an existing folder is fine
  return path;
}

}  // namespace

std::string DosPath(const std::string& hostPath) {
  std::string path = kHostRootDrive + hostPath;
  std::ranges::replace(path, '/', '\\');
  return path;
}

std::string UtilityPath() { return DosPath(kUtilityOnHost); }

std::string ScreenshotFolder() {
  CreatedFolder(DosPath(kWorkFolderOnHost));
  return CreatedFolder(DosPath(std::string(kWorkFolderOnHost) + "/screenshots"));
}

std::string ScratchFolderOnHost() { return std::string(kWorkFolderOnHost) + "/scratch"; }

std::string ScratchFolder() {
  CreatedFolder(DosPath(kWorkFolderOnHost));
  return CreatedFolder(DosPath(ScratchFolderOnHost()));
}

std::string CupsStateOnHost() { return kCupsStateOnHost; }

}  // namespace quillon::e2e
