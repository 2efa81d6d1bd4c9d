#pragma once
// Where this run finds and keeps its things, fixed when the suite is
// configured: the utility under test, the print system's state, the
// screenshots, and a scratch folder shared with host programs. The build
// knows them as host (Linux) paths; Windows programs reach them through the
// drive Wine maps the host's root to.
#include <string>

namespace quillon::e2e {

// "/a/b" as Windows sees it under Wine: "Z:\a\b".
std::string DosPath(const std::string& hostPath);

// quillon-admin.exe as built, with quillonc.dll beside it.
std::string UtilityPath();

// Below the build folder; created on first use.
std::string ScreenshotFolder();

// A folder both the driver and host programs read and write, created on
// first use; the same folder by either name.
std::string ScratchFolder();
std::string ScratchFolderOnHost();

// The state folder of the print system the suite's CUPS fixture starts
// (e2e/cups-quillon.sh); each queue writes its PDF files into pdf-<queue>
// below it.
std::string CupsStateOnHost();

}  // namespace quillon::e2e
