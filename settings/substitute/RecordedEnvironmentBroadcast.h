#pragma once
// The environment broadcast for native tests: counts the announcements, and
// runs a test's hook at each, so that a test can see what the registry held
// at that moment.
#include <functional>

#include "settings/EnvironmentBroadcast.h"

namespace quillon {

class RecordedEnvironmentBroadcast final : public EnvironmentBroadcast {
 public:
  void AnnounceEnvironmentChange() override {
    ++announcements;
    if (onAnnounce) onAnnounce();
  }

  int announcements = 0;
  std::function<void()> onAnnounce;
};

}  // namespace quillon
