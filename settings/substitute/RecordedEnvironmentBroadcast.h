#pragma once
// The environment broadcast for native tests: counts the announcements.
#include "settings/EnvironmentBroadcast.h"

namespace quillon {

class RecordedEnvironmentBroadcast final : public EnvironmentBroadcast {
 public:
  void AnnounceEnvironmentChange() override { ++announcements; }
  int announcements = 0;
};

}  // namespace quillon
