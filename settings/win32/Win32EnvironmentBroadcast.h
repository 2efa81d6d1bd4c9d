#pragma once
// Announces a change of the system environment to every top-level window.
#include "settings/EnvironmentBroadcast.h"

namespace quillon {

class Win32EnvironmentBroadcast final : public EnvironmentBroadcast {
 public:
  void AnnounceEnvironmentChange() override;
};

}  // namespace quillon
