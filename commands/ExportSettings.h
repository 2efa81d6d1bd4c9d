#pragma once
// This machine's settings as a registry file that reproduces them wherever it
// is imported: the window's own load and its Apply button, run without a
// window against a registry that records what Apply would write and remove
// instead of doing it. Nothing in the registry changes. A key that exists but
// cannot be read makes it refuse: read as empty, it would reset every target.
#include <string>

#include "model/LocaleNumber.h"
#include "crypto/HelperLibrary.h"
#include "settings/RegFile.h"
#include "settings/Registry.h"

namespace quillon {

// Whose settings the file holds, for its header.
struct ExportOrigin {
  std::string computer;
  std::string user;
};

struct ExportedSettings {
  std::string file;     // the registry file's bytes, when every key read and Apply would write
  std::string refusal;  // otherwise the key that could not be read, or what Apply would have said
};

// `width` is what the running process finds, not what the registry's
// processor name says: it decides which paths name the two views. Where the
// load found none of the printer's settings, the file would reset every one
// of them wherever it is imported: it is made only when `defaultsWanted`.
ExportedSettings ExportSettings(Registry& registry, HelperLibrary& helperLibrary,
                                const NumberSeparators& numberSeparators,
                                const ExportOrigin& origin, WindowsWidth width,
                                const AnsiToUtf16& toUtf16, bool defaultsWanted);

}  // namespace quillon
