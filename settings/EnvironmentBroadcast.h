#pragma once
// Tells running programs that the system environment changed, after the
// temporary-folder variable was written or removed.

namespace quillon {

class EnvironmentBroadcast {
 public:
  virtual ~EnvironmentBroadcast() = default;
  // WM_SETTINGCHANGE with "Environment" to every top-level window
  // (SendMessageTimeoutA, SMTO_ABORTIFHUNG, 5000 ms). Its result is not used.
  virtual void AnnounceEnvironmentChange() = 0;
};

}  // namespace quillon
