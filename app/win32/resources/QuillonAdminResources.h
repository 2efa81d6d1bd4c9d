#pragma once
// Identifiers of the program's resources, shared by the resource script and
// the code that loads them. The resource compiler reads only the
// preprocessor's language, so these stay macros.

// The lowest icon identifier is the one the shell shows for the program.
#define IDI_QUILLON_ADMIN 1
