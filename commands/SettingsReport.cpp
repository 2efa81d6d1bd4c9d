// The report: the window's load on in-memory controls over a registry that
// reads through and writes nothing, asked to judge every copy, then its
// record rendered setting by setting in the order of the window's pages.
#include "commands/SettingsReport.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "model/AdminUtilityMain.h"
#include "model/BitSets.h"
#include "model/ControlTable.h"
#include "model/LoadRecord.h"
#include "model/SettingsCatalogue.h"
#include "commands/HeadlessPorts.h"
#include "commands/SettingsDisplay.h"
#include "platform/Version.h"
#include "settings/SettingLocations.h"

namespace quillon {
namespace {

using Id = ControlId;

std::string TypeName(std::uint32_t type) {
  constexpr std::pair<std::uint32_t, const char*> kNames[] = {
      {kRegSz, "REG_SZ"},       {kRegExpandSz, "REG_EXPAND_SZ"}, {kRegBinary, "REG_BINARY"},
      {kRegDword, "REG_DWORD"}, {kRegMultiSz, "REG_MULTI_SZ"},   {kRegQword, "REG_QWORD"}};
  for (const auto& [code, name] : kNames) {
    if (code == type) return name;
  }
  return "type " + std::to_string(type);
}

// A stored password is only said to be there, never shown, nor its size.
std::string ValueText(const RegistryValue& copy, const Setting& row) {
  const bool text = IsTextValue(copy.type);
  const std::vector<std::uint8_t>& bytes = copy.data;
  if (row.read == ReadRule::Password) {
    if (!text) return TypeName(copy.type) + ", a value of the wrong type for a password";
    return TypeName(copy.type) +
           (bytes.empty() || bytes.front() == 0 ? ", empty" : ", a stored password");
  }
  if (text)
    return TypeName(copy.type) + " " +
           Quoted(std::string(bytes.begin(), std::ranges::find(bytes, '\0')));
  if (IsNumberValue(copy.type, static_cast<std::uint32_t>(bytes.size()))) {
    const std::int32_t number = DwordNumber({bytes[0], bytes[1], bytes[2], bytes[3]});
    const std::string bits =
        HexDigits(static_cast<std::uint32_t>(number), 8, HexLetters::Capital);
    return TypeName(copy.type) + " " + std::to_string(number) +
           (row.bitSet ? " (0x" + bits + ")" : "");
  }
  return TypeName(copy.type) + ", " + std::to_string(bytes.size()) + " bytes";
}

// What the load made of a copy it did not take.
std::string Judgement(Verdict verdict, const Setting& row) {
  switch (verdict) {
    case Verdict::Hidden:
      return "hidden";
    case Verdict::EmptyText:
      return "skipped, an empty text:";
    case Verdict::StoredMinusOne:
      return "skipped, -1 is read as no number:";
    case Verdict::WrongType:
      return std::string("skipped, the wrong type for a ") +
             (row.type == ValueType::Text ? "text" : "number") + ":";
    case Verdict::ZeroSkipped:
      return "skipped, 0 does not count here:";
    case Verdict::Taken:
    case Verdict::Absent:
    case Verdict::Unreadable:
    case Verdict::NotRead:
      break;
  }
  return "not read by the window:";
}

// The copies Apply writes over or removes, learned by running it on the
// loaded window over the recorder: once as the window shows, and once with
// "Disable "Print File"" ticked, which alone decides whether a copy goes.
struct ApplyTouches {
  std::vector<RecordedChange> always;
  std::vector<RecordedChange> whilePrintFileDisabled;
};

ApplyTouches RunApply(AdminUtilityMain& window, Controls& controls,
                      const RecordingRegistry& recorder) {
  ApplyTouches touches;
  controls.SetValue(Id::chkPrintPDF, 0);
  window.ApplySettings();
  touches.always = recorder.Changes();
  controls.SetValue(Id::chkPrintPDF, 1);
  window.ApplySettings();
  touches.whilePrintFileDisabled = recorder.Changes();
  return touches;
}

bool Touches(const std::vector<RecordedChange>& changes, FoundAt at, std::string_view name) {
  const CopyPlace& place = PlaceOf(at);
  const Location& key = place.location;
  return std::ranges::any_of(changes, [&](const RecordedChange& change) {
    return change.root == key.root && SameName(change.path, key.path) &&
           change.view == EffectiveView(key.root, key.path, place.view) &&
           SameName(change.name, name);
  });
}

std::string EffectText(const ApplyTouches& touches, FoundAt at, std::string_view name) {
  if (Touches(touches.always, at, name)) return "Apply clears it";
  if (Touches(touches.whilePrintFileDisabled, at, name)) {
    return "Apply removes it while " + std::string(DefinitionOf(Id::chkPrintPDF).caption) +
           " is ticked";
  }
  return "Apply leaves it";
}

// What the report renders: the window as loaded, the load's record, what
// Apply does to each copy.
struct Rendered {
  const Controls& controls;
  const LoadRecord& record;
  const ApplyTouches& touches;
  WindowsWidth width;
};

// The row of the same setting, under another name, whose copy the control shows.
const ValueRecord* OtherNameTaken(const LoadRecord& record, const Setting& row) {
  if (!IsAlternativeNames(row.read)) return nullptr;
  const auto other = std::ranges::find_if(record.values, [&](const ValueRecord& value) {
    return value.row != &row && value.row->read == row.read && value.taken != FoundAt::Nowhere;
  });
  return other == record.values.end() ? nullptr : &*other;
}

std::string SourceLine(const Rendered& loaded, const Setting& row, const ValueRecord& value,
                       bool anyCopy) {
  const std::string name = Quoted(row.name);
  if (row.read == ReadRule::Never) return name + " not read by the window";
  if (value.taken != FoundAt::Nowhere) {
    const Look& taken = *std::ranges::find(value.looks, value.taken, &Look::at);
    return name + " from " + KeyName(value.taken, loaded.width) + ": " +
           ValueText(taken.stored, row) +
           (value.ticksApplyToAllUsers ? "; ticks \"Apply to all users\"" : "");
  }
  if (const ValueRecord* other = OtherNameTaken(loaded.record, row)) {
    return name + " not used: the box shows " + Quoted(other->row->name) + " instead";
  }
  // A name among several says nothing of the default: another name may hold
  // nothing either, and the box shows what the setting's names leave it.
  const std::string_view none = anyCopy ? ": no copy taken" : " found nowhere";
  if (IsAlternativeNames(row.read)) return name + std::string(none);
  return name + std::string(none) + ", the window shows its default";
}

// Every copy but the one taken, as the load judged it.
std::string CopyLine(const Rendered& loaded, const Setting& row, const Look& look) {
  const std::string where = KeyName(look.at, loaded.width);
  const std::string effect = EffectText(loaded.touches, look.at, row.name);
  if (look.verdict == Verdict::Unreadable) {
    return "cannot read " + where + " (error " + std::to_string(look.error) + "); " + effect;
  }
  if (look.error != kErrorSuccess) {
    return "cannot read " + where + " (error " + std::to_string(look.error) +
           "), not read by the window; " + effect;
  }
  const std::string judgement = !PlaceOf(look.at).utilityUses
                                    ? "overrides the system's for this user's programs:"
                                    : Judgement(look.verdict, row);
  return judgement + " " + where + ": " + ValueText(look.stored, row) + "; " + effect;
}

void AddCopies(std::vector<std::string>& lines, const Rendered& loaded, const Setting& row) {
  const ValueRecord& value = *loaded.record.Of(row);
  std::vector<std::string> copies;
  for (const FoundAt at : CopiesOf(ResidenceOf(row), loaded.width)) {
    const auto look = std::ranges::find(value.looks, at, &Look::at);
    if (look == value.looks.end() || look->verdict == Verdict::Taken ||
        look->verdict == Verdict::Absent) {
      continue;
    }
    copies.push_back(CopyLine(loaded, row, *look));
  }
  lines.push_back("    " + SourceLine(loaded, row, value, !copies.empty()));
  for (const std::string& copy : copies) lines.push_back("      " + copy);
}

void AddSettings(std::vector<std::string>& lines, const Rendered& loaded) {
  std::string page, heading;
  for (const Setting* row : InPageOrder()) {
    if (std::exchange(page, PageTitle(*row)) != page) lines.insert(lines.end(), {"", page});
    if (std::exchange(heading, Heading(*row)) != heading) {
      lines.push_back("  " + heading);
      if (AnchorOf(*row)) {
        lines.push_back("    shows " +
                        ShownFor(loaded.controls, *row, loaded.record.passwordsNotShown));
      }
    }
    AddCopies(lines, loaded, *row);
  }
}

std::vector<std::string> Header(const ReportOrigin& origin, WindowsWidth width,
                                const LoadRecord& record, bool printerFound, bool allUsersTicked) {
  std::vector<std::string> lines = {
      std::string(kMainWindow.title) + ": where each printer setting comes from",
      "Computer " + origin.computer + ", user " + origin.user + ", version " +
          QUILLON_VERSION_TEXT};
  if (width == WindowsWidth::Bits32) {
    lines.push_back("Windows: 32-bit, one view of HKLM\\Software");
  } else {
    lines.push_back(std::string("Windows: 64-bit, two views of HKLM\\Software; the utility ") +
                    (origin.wow64Process ? "runs" : "does not run") + " under WOW64");
    const bool reads64BitView = record.firstNumberView == RegistryView::Wow64_64;
    lines.push_back(reads64BitView ? "The window reads numbers from the 64-bit view first "
                                     "(PROCESSOR_ARCHITECTURE names AMD64)"
                                   : "The window neither reads nor clears the 64-bit view "
                                     "(PROCESSOR_ARCHITECTURE does not name AMD64)");
  }
  lines.insert(lines.end(),
               {std::string("Helper library ") + kHelperLibraryName + ": " +
                    (origin.helperLibraryLoads ? "loads" : "does not load"),
                std::string("Printer \"") + kProductPrinterName +
                    "\": " + (printerFound ? "installed" : "not installed"),
                std::string("\"Apply to all users\": ") + (allUsersTicked ? "ticked" : "clear"),
                "Each setting: what the window shows and the copy it comes from; then every other",
                "copy: hidden (the window would take it were the copies before it gone), skipped",
                "(and why), or not read by the window; and what Apply does to it."});
  return lines;
}

}  // namespace

std::string SettingsReport(Registry& registry, HelperLibrary& helperLibrary, Printers& printers,
                           const NumberSeparators& numberSeparators, const ReportOrigin& origin,
                           WindowsWidth width) {
  // The load and Apply write nothing; reading through a recorder, they create no key.
  RecordingRegistry reader(registry);
  HeadlessLoad load(reader, printers, helperLibrary, numberSeparators, LookDepth::EveryCopy);
  const LoadRecord& record = load.Record();
  const ControlModel shown = load.controls;
  const std::vector<std::string> messages = std::exchange(load.headless.messages.texts, {});
  const ApplyTouches touches = RunApply(load.headless.window, load.controls, reader);

  const std::vector<std::string> names = printers.InstalledPrinterNames();
  std::vector<std::string> lines =
      Header(origin, width, record, std::ranges::find(names, kProductPrinterName) != names.end(),
             shown.Value(Id::chkApplyToAllUsers) != 0);
  for (const std::string& message : messages) {
    lines.push_back("The window would have said: " + OneLine(message));
  }
  AddSettings(lines, {shown, record, touches, width});
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace quillon
