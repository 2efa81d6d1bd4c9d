// The report: the window's load on in-memory controls over a registry that
// notes what the load looked at, then every copy of each setting, in the
// order of the window's pages.
#include "app/SettingsReport.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/AdminUtilityMain.h"
#include "app/BitSets.h"
#include "app/ControlModel.h"
#include "app/ControlTable.h"
#include "app/HeadlessPorts.h"
#include "app/SettingsCatalogue.h"
#include "platform/Version.h"
#include "settings/SettingLocations.h"

namespace quillon {
namespace {

using Id = ControlId;

// A key in one view; a key with one view is named in the default view.
struct KeyInView {
  RootKey root;
  std::string path;
  RegistryView view;
  bool operator==(const KeyInView&) const = default;
};

KeyInView InView(RootKey root, const std::string& path, RegistryView view) {
  return {root, path, EffectiveView(root, path, view)};
}

// One look of the load at a value: what the type-and-size query answered.
struct Look {
  KeyInView key;
  std::string name;
  long status;
  std::uint32_t type;
  std::uint32_t size;
};

// The registry as the load reads it here: keys are opened, never created,
// nothing is written, and every value a read asks about is noted in order.
// A missing key opens as an empty one, which the load reads just as it reads
// a key it cannot find, so that its looks there are noted too.
class NotingRegistry final : public Registry {
 public:
  explicit NotingRegistry(Registry& underlying) : underlying_(underlying) {}

  long CreateKey(RootKey root, const std::string& path, KeyAccess access, RegistryView view,
                 KeyHandle& key) override {
    return OpenKey(root, path, access, view, key);
  }
  long OpenKey(RootKey root, const std::string& path, KeyAccess, RegistryView view,
               KeyHandle& key) override {
    KeyHandle underlying{};
    const long opened = underlying_.OpenKey(root, path, KeyAccess::Read, view, underlying);
    if (opened != kErrorSuccess && opened != kErrorFileNotFound) return opened;
    key = KeyHandle{++lastHandle_};
    open_.emplace(key, Open{InView(root, path, view),
                            opened == kErrorSuccess ? std::optional(underlying) : std::nullopt});
    return kErrorSuccess;
  }
  long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                  std::uint32_t& size) override {
    const Open& open = open_.at(key);
    const long status = open.underlying
                            ? underlying_.QueryValue(*open.underlying, name, type, data, size)
                            : kErrorFileNotFound;
    // Every read asks for the type and size first.
    if (data == nullptr) looks.push_back({open.key, name, status, type, size});
    return status;
  }
  // The load writes nothing; were anything to try, it would be refused.
  long SetValue(KeyHandle, const std::string&, std::uint32_t,
                std::span<const std::uint8_t>) override {
    return kErrorAccessDenied;
  }
  long DeleteValue(KeyHandle, const std::string&) override { return kErrorAccessDenied; }
  long CloseKey(KeyHandle key) override {
    const auto found = open_.find(key);
    if (found == open_.end()) return kErrorInvalidHandle;
    if (found->second.underlying) underlying_.CloseKey(*found->second.underlying);
    open_.erase(found);
    return kErrorSuccess;
  }

  std::vector<Look> looks;

 private:
  struct Open {
    KeyInView key;
    std::optional<KeyHandle> underlying;  // none for a missing key
  };

  Registry& underlying_;
  std::map<KeyHandle, Open> open_;
  std::underlying_type_t<KeyHandle> lastHandle_ = 0;
};

// The in-memory window, noting the settings whose read ticked "Apply to all
// users": the load ticks it straight after reading such a setting.
class NotingControls final : public Controls {
 public:
  explicit NotingControls(const std::vector<Look>& looks) : looks_(looks) {}

  std::string Text(ControlId id) const override { return model_.Text(id); }
  void SetText(ControlId id, const std::string& text) override { model_.SetText(id, text); }
  int Value(ControlId id) const override { return model_.Value(id); }
  void SetValue(ControlId id, int value) override {
    if (id == Id::chkApplyToAllUsers && value != 0 && !looks_.empty())
      ticking.insert(looks_.back().name);
    model_.SetValue(id, value);
  }
  void SetEnabled(ControlId id, bool enabled) override { model_.SetEnabled(id, enabled); }
  void SetChangeListener(ChangeListener listener) override {
    model_.SetChangeListener(std::move(listener));
  }
  void Close() override { model_.Close(); }
  void ShowWaitPointer() override {}
  void RestorePointer() override {}

  std::set<std::string> ticking;

 private:
  const std::vector<Look>& looks_;
  ControlModel model_;
};

// One copy of a value, as stored.
struct Copy {
  KeyInView key;
  long status = kErrorFileNotFound;  // kErrorSuccess when present
  std::uint32_t type = kRegNone;
  std::vector<std::uint8_t> data;
};

Copy ReadCopy(Registry& registry, const KeyInView& where, const std::string& name) {
  Copy copy{.key = where, .data = {}};
  KeyHandle key{};
  copy.status = registry.OpenKey(where.root, where.path, KeyAccess::Read, where.view, key);
  if (copy.status != kErrorSuccess) return copy;
  std::uint32_t size = 0;
  copy.status = registry.QueryValue(key, name, copy.type, nullptr, size);
  copy.data.resize(size);
  if (copy.status == kErrorSuccess && size > 0) {
    copy.status = registry.QueryValue(key, name, copy.type, copy.data.data(), size);
  }
  registry.CloseKey(key);
  return copy;
}

KeyInView KeyOf(const Location& location, bool use64BitView) {
  return InView(location.root, location.path,
                use64BitView ? RegistryView::Wow64_64 : RegistryView::Default);
}

// Every place the load reads a setting or Apply removes it from.
std::vector<KeyInView> PlacesOf(const Setting& row, bool windows64) {
  if (row.write == WriteRule::TempFolder) return {KeyOf(kEnvironmentKey, false)};
  if (row.write == WriteRule::SaveDialog) return {KeyOf(kSaveDialogKey, false)};
  std::vector<KeyInView> places;
  for (const ProductCopy copy : kLookupOrder) {
    const CopyPlace& place = PlaceOf(copy);
    if (!place.use64BitView || windows64)
      places.push_back(KeyOf(place.location, place.use64BitView));
  }
  return places;
}

bool OfType(ValueType type, std::uint32_t regType, std::size_t size) {
  return type == ValueType::Text ? IsTextValue(regType)
                                 : IsNumberValue(regType, static_cast<std::uint32_t>(size));
}

// The load stops at the copy it takes, so its last look at a name is where
// the window's value comes from, when that look found a value of its type.
std::optional<KeyInView> WinnerOf(const std::vector<Look>& looks, const Setting& row) {
  const auto last = std::ranges::find(looks.rbegin(), looks.rend(), row.name, &Look::name);
  if (last == looks.rend() || last->status != kErrorSuccess ||
      !OfType(row.type, last->type, last->size)) {
    return std::nullopt;
  }
  return last->key;
}

bool LoadLooked(const std::vector<Look>& looks, const Setting& row) {
  return row.read != ReadRule::Never &&
         std::ranges::find(looks, row.name, &Look::name) != looks.end();
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Hex(std::uint32_t number) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(number >> shift) & 0xF];
  return text;
}

std::string TypeName(std::uint32_t type) {
  constexpr std::pair<std::uint32_t, const char*> kNames[] = {
      {kRegSz, "REG_SZ"},       {kRegExpandSz, "REG_EXPAND_SZ"}, {kRegBinary, "REG_BINARY"},
      {kRegDword, "REG_DWORD"}, {kRegMultiSz, "REG_MULTI_SZ"},   {kRegQword, "REG_QWORD"}};
  for (const auto& [code, name] : kNames) {
    if (code == type) return name;
  }
  return "type " + std::to_string(type);
}

std::string KeyName(const KeyInView& key, bool windows64) {
  std::string name = (key.root == RootKey::LocalMachine ? "HKLM\\" : "HKCU\\") + key.path;
  if (!windows64 || !KeyHasTwoViews(key.root, key.path)) return name;
  return name + (key.view == RegistryView::Wow64_64 ? " (64-bit view)" : " (32-bit view)");
}

// A stored password is only said to be there: its text is never shown.
std::string ValueText(const Copy& copy, const Setting& row) {
  std::string text = TypeName(copy.type);
  if (IsTextValue(copy.type)) {
    const std::string stored(copy.data.begin(), std::ranges::find(copy.data, '\0'));
    if (row.read == ReadRule::Password) {
      text += stored.empty() ? ", empty" : ", a stored password";
    } else {
      text += " " + Quoted(stored);
    }
  } else if (IsNumberValue(copy.type, static_cast<std::uint32_t>(copy.data.size()))) {
    const std::int32_t number =
        DwordNumber({copy.data[0], copy.data[1], copy.data[2], copy.data[3]});
    text += " " + std::to_string(number) +
            (row.bitSet ? " (" + Hex(static_cast<std::uint32_t>(number)) + ")" : "");
  } else {
    text += ", " + std::to_string(copy.data.size()) + " bytes";
  }
  if (!OfType(row.type, copy.type, copy.data.size())) {
    text += std::string(": the wrong type for a ") +
            (row.type == ValueType::Text ? "text" : "number") + ", read as absent";
  }
  return text;
}

std::vector<ControlId> ControlsOf(BitSet set) {
  std::vector<ControlId> ids;
  switch (set) {
    case BitSet::Options:
    case BitSet::OptionsMask:
      return {kEncryptionCombo, kResizingBox};
    case BitSet::Permissions:
    case BitSet::PermissionsMask:
      for (const PermissionCombo& combo : kPermissionCombos) ids.push_back(combo.combo);
      return ids;
    case BitSet::DisabledOptions:
      for (const DisabledOptionBit& bit : kDisabledOptionBits) ids.push_back(bit.box);
      return ids;
    case BitSet::FileOptions:
      return {kWatermarkPlacementCombo};
  }
  return ids;
}

std::optional<ControlId> AnchorOf(const Setting& row) {
  if (row.control) return row.control;
  if (row.bitSet) return ControlsOf(*row.bitSet).front();
  return std::nullopt;
}

// A control without a caption of its own is named by the label nearest to it
// on its page, the one beside or above it sharing the most width on a tie.
std::string_view CaptionOf(ControlId id) {
  const ControlDefinition& control = DefinitionOf(id);
  if (!control.caption.empty()) return control.caption;
  const auto gap = [](int start, int length, int otherStart, int otherLength) {
    return std::max({0, otherStart - (start + length), start - (otherStart + otherLength)});
  };
  const auto score = [&](const ControlDefinition& label) {
    const TwipsRect &a = control.rect, &b = label.rect;
    const int overlap = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    return (gap(a.top, a.height, b.top, b.height) + gap(a.left, a.width, b.left, b.width)) *
               100000 -
           overlap;
  };
  const ControlDefinition* nearest = nullptr;
  for (const ControlDefinition& label : ControlTable()) {
    if (label.kind != ControlKind::kLabel || label.page != control.page) continue;
    if (!nearest || score(label) < score(*nearest)) nearest = &label;
  }
  return nearest ? nearest->caption : ControlName(id);
}

std::string ShownIn(const Controls& controls, ControlId id) {
  if (DefinitionOf(id).kind != ControlKind::kCheckBox) return Quoted(controls.Text(id));
  constexpr const char* kBoxStates[] = {"clear", "ticked", "greyed"};
  return kBoxStates[controls.Value(id)];
}

// A bit set as the boxes it ticks and the lists it chooses an item in.
std::string ShownAsBoxes(const Controls& controls, BitSet set) {
  std::string shown;
  for (const ControlId id : ControlsOf(set)) {
    const bool box = DefinitionOf(id).kind == ControlKind::kCheckBox;
    if (box ? controls.Value(id) == 0 : controls.Text(id).empty()) continue;
    shown += (shown.empty() ? "" : "; ") +
             (box ? "[x] " + std::string(CaptionOf(id))
                  : std::string(CaptionOf(id)) + ": " + Quoted(controls.Text(id)));
  }
  return shown.empty() ? "no box ticked, no list item chosen" : shown;
}

struct Loaded {
  const NotingControls& controls;
  const std::vector<Look>& looks;
  const std::set<ControlId>& passwordsNotShown;
  bool windows64;
};

std::string ShownFor(const Loaded& loaded, const Setting& row) {
  if (row.bitSet) return ShownAsBoxes(loaded.controls, *row.bitSet);
  const ControlId id = *row.control;
  if (row.read != ReadRule::Password) return ShownIn(loaded.controls, id);
  if (loaded.passwordsNotShown.contains(id)) return "a password that cannot be decoded";
  return loaded.controls.Text(id).empty() ? "no password (not set)" : "a password (set)";
}

void AddCopies(std::vector<std::string>& lines, Registry& registry, const Loaded& loaded,
               const Setting& row) {
  const std::string name(row.name);
  const bool looked = LoadLooked(loaded.looks, row);
  const std::optional<KeyInView> winner =
      looked ? WinnerOf(loaded.looks, row) : std::optional<KeyInView>();
  std::vector<Copy> others;
  // A name the load never reached: a name before it gave the control its value.
  const bool passedOver = !looked && row.read != ReadRule::Never;
  std::string source = passedOver ? "not read: the window took its value from a name above"
                       : !looked  ? "not read by the window"
                                  : "found nowhere: the window shows its default";
  for (const KeyInView& place : PlacesOf(row, loaded.windows64)) {
    Copy copy = ReadCopy(registry, place, name);
    if (winner && place == *winner) {
      source = "from " + KeyName(place, loaded.windows64) + ": " + ValueText(copy, row) +
               (loaded.controls.ticking.contains(name) ? "; ticks \"Apply to all users\"" : "");
    } else if (copy.status != kErrorFileNotFound) {
      others.push_back(std::move(copy));
    }
  }
  lines.push_back("    " + Quoted(name) + " " + source);
  for (const Copy& copy : others) {
    const std::string where = KeyName(copy.key, loaded.windows64);
    if (copy.status != kErrorSuccess) {
      lines.push_back("      cannot read " + where + " (error " + std::to_string(copy.status) +
                      ")");
    } else {
      lines.push_back(std::string(winner || passedOver ? "      hidden " : "      unused ") +
                      where + ": " + ValueText(copy, row));
    }
  }
}

// The rows under the control that shows them, in the order of the pages and
// their tab order; rows no control shows come last.
std::vector<const Setting*> InPageOrder() {
  std::vector<const Setting*> rows;
  for (const Setting& row : SettingsCatalogue()) rows.push_back(&row);
  const auto place = [](const Setting* row) {
    const std::optional<ControlId> anchor = AnchorOf(*row);
    const ControlDefinition* control = anchor ? &DefinitionOf(*anchor) : nullptr;
    return std::tuple(control ? static_cast<int>(*control->page) : static_cast<int>(kPageCount),
                      control ? control->tabOrder.value_or(0) : 0, LoadRank(*row));
  };
  std::ranges::stable_sort(rows, {}, place);
  return rows;
}

std::string PageTitle(const Setting& row) {
  const std::optional<ControlId> anchor = AnchorOf(row);
  if (!anchor) return "Kept by the utility, shown in no control";
  return std::string(
             kTabControl.tabCaptions[static_cast<std::size_t>(*DefinitionOf(*anchor).page)]) +
         " page";
}

std::string Heading(const Setting& row) {
  if (row.bitSet) return Quoted(row.name) + ", a bit set";
  if (!row.control) return Quoted(row.name);
  return std::string(row.label ? DefinitionOf(*row.label).caption : CaptionOf(*row.control));
}

void AddSettings(std::vector<std::string>& lines, Registry& registry, const Loaded& loaded) {
  std::string page, heading;
  for (const Setting* row : InPageOrder()) {
    if (std::exchange(page, PageTitle(*row)) != page) lines.insert(lines.end(), {"", page});
    if (std::exchange(heading, Heading(*row)) != heading) {
      lines.push_back("  " + heading);
      if (AnchorOf(*row)) lines.push_back("    shows " + ShownFor(loaded, *row));
    }
    AddCopies(lines, registry, loaded, *row);
  }
}

std::vector<std::string> Header(const ReportOrigin& origin, bool windows64, bool printerFound,
                                bool allUsersTicked) {
  return {std::string(kMainWindow.title) + ": where each printer setting comes from",
          "Computer " + origin.computer + ", user " + origin.user + ", version " +
              QUILLON_VERSION_TEXT,
          std::string("Windows: ") + (windows64 ? "64-bit" : "32-bit") +
              " as the utility reads it (PROCESSOR_ARCHITECTURE); the utility " +
              (origin.wow64Process ? "runs" : "does not run") + " under WOW64",
          std::string("Helper library ") + kHelperLibraryName + ": " +
              (origin.helperLibraryLoads ? "loads" : "does not load"),
          std::string("Printer \"") + kProductPrinterName +
              "\": " + (printerFound ? "installed" : "not installed"),
          std::string("\"Apply to all users\": ") + (allUsersTicked ? "ticked" : "clear"),
          "Each setting: what the window shows, the copy it comes from, and the other",
          "copies that copy hides (or, with none found, leaves unused)."};
}

}  // namespace

std::string SettingsReport(Registry& registry, HelperLibrary& helperLibrary, Printers& printers,
                           const NumberSeparators& numberSeparators, const ReportOrigin& origin) {
  NotingRegistry noting(registry);
  NotingControls controls(noting.looks);
  HeadlessWindow headless(controls, noting, printers, helperLibrary, numberSeparators);
  const bool windows64 = RegistryAccess(noting, headless.messages).Is64BitWindows();
  headless.window.Form_Load();

  const std::vector<std::string> names = printers.InstalledPrinterNames();
  std::vector<std::string> lines =
      Header(origin, windows64, std::ranges::find(names, kProductPrinterName) != names.end(),
             controls.Value(Id::chkApplyToAllUsers) != 0);
  for (const std::string& message : headless.messages.texts) {
    lines.push_back("The window would have said: " + OneLine(message));
  }
  AddSettings(lines, registry,
              {controls, noting.looks, headless.window.PasswordsNotShown(), windows64});
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace quillon
