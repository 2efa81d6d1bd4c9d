// WM_SETTINGCHANGE "Environment" to all top-level windows, so that programs
// which read the environment from the registry pick up the new QUILLONTEMP.
#include "settings/win32/Win32EnvironmentBroadcast.h"

#include <windows.h>

#include <cstdint>

namespace quillon {
namespace {

// All bits set: user32 delivers a message sent to this handle to every
// top-level window, as it does for HWND_BROADCAST.
const HWND kAllTopLevelWindows = reinterpret_cast<HWND>(~std::uintptr_t{0});
constexpr char kEnvironmentSection[] = "Environment";
constexpr UINT kTimeoutMs = 5000;

}  // namespace

void Win32EnvironmentBroadcast::AnnounceEnvironmentChange() {
  // A hung program is not waited for and a slow one at most the time-out;
  // the outcome is of no use to the caller.
  DWORD_PTR unusedResult = 0;
  SendMessageTimeoutA(kAllTopLevelWindows, WM_SETTINGCHANGE, 0,
                      reinterpret_cast<LPARAM>(kEnvironmentSection), SMTO_ABORTIFHUNG, kTimeoutMs,
                      &unusedResult);
}

}  // namespace quillon
