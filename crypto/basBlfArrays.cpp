// The table loader.
#include "crypto/basBlfArrays.h"

namespace quillon {

void LoadInitialTables(KeyState& state) {
  state.P = kInitialP;
  state.S = kInitialS;
}

}  // namespace quillon
