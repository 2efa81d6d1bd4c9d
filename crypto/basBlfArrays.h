#pragma once
// The cipher's initial tables and their loader with its zero-entry check.
#include "crypto/basBlowfish.h"
#include "platform/MessageBoxes.h"

namespace quillon {

// Generated from the digits of pi by crypto/tools/gen_pi_tables.py.
extern const PArray kInitialP;
extern const SBoxes kInitialS;

// Where the zero check shows its messages. The program installs its message
// boxes once at start; until then (nullptr) a zero entry goes unreported
// rather than crashing the key set-up.
void SetTableCheckMessageBoxes(MessageBoxes* boxes);

// Shows "Zero value in S(box,index)" for every zero entry, box by box, each
// in its own box, and carries on. Does nothing when boxes is nullptr.
void ReportZeroSEntries(const SBoxes& s, MessageBoxes* boxes);

// Puts the initial tables into the given key state (the cipher passes its
// process-wide one), then checks its S-boxes.
void LoadInitialTables(KeyState& state);

}  // namespace quillon
