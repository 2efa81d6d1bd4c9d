#pragma once
// Everything the main window works through, as native substitutes, and a
// session that opens the window on a seeded registry the way the program
// does: construct, then load.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/AdminUtilityMain.h"
#include "app/substitute/ControlModel.h"
#include "app/substitute/RecordedOpenFileDialog.h"
#include "app/substitute/RecordedPrinters.h"
#include "crypto/substitute/SubstituteHelperLibrary.h"
#include "platform/substitute/RecordedMessageBoxes.h"
#include "settings/SettingLocations.h"
#include "settings/substitute/RecordedEnvironmentBroadcast.h"
#include "settings/substitute/SubstituteRegistry.h"

namespace quillon {

using Windows = SubstituteRegistry::Windows;

struct SubstitutePlatform {
  explicit SubstitutePlatform(Windows windows = Windows::Bits64) : registry(windows) {}

  AdminUtilityPorts Ports() { return PortsOver(registry); }
  // The same, with the window's registry calls going to `over`.
  AdminUtilityPorts PortsOver(Registry& over) {
    return {.controls = controls,
            .openFileDialog = dialog,
            .numberSeparators = {.decimal = ".", .group = ","},
            .registry = over,
            .messageBoxes = messages,
            .printers = printers,
            .environmentBroadcast = broadcast,
            .helperLibrary = helperLibrary};
  }

  ControlModel controls;
  RecordedOpenFileDialog dialog;
  SubstituteRegistry registry;
  RecordedMessageBoxes messages;
  RecordedPrinters printers{{"Office", "Quillon"}, "Office"};
  RecordedEnvironmentBroadcast broadcast;
  SubstituteHelperLibrary helperLibrary;
};

// A platform and the window on it, opened on demand so that the registry can
// be seeded first.
struct Session : SubstitutePlatform {
  using SubstitutePlatform::SubstitutePlatform;

  AdminUtilityMain& Open() { return OpenOver(registry); }
  AdminUtilityMain& OpenOver(Registry& over) {
    window.emplace(PortsOver(over));
    window->Form_Load();
    return *window;
  }

  std::optional<AdminUtilityMain> window;
};

// Seeding and reading the substitute registry by location.
inline void PutText(SubstituteRegistry& registry, const Location& at, const std::string& name,
                    const std::string& text, RegistryView view = RegistryView::Default) {
  registry.PutValue(at.root, at.path, view, name, kRegSz, TextBytes(text));
}

inline void PutNumber(SubstituteRegistry& registry, const Location& at, const std::string& name,
                      std::int32_t number, RegistryView view = RegistryView::Default) {
  registry.PutValue(at.root, at.path, view, name, kRegDword, DwordBytes(number));
}

// The text stored there (up to a NUL), if a string value is stored there.
inline std::optional<std::string> TextAt(const SubstituteRegistry& registry, const Location& at,
                                         const std::string& name,
                                         RegistryView view = RegistryView::Default) {
  const auto value = registry.FindValue(at.root, at.path, view, name);
  if (!value || !IsStringType(value->type)) return std::nullopt;
  const std::string text(value->data.begin(), value->data.end());
  return text.substr(0, text.find('\0'));
}

inline std::optional<std::int32_t> NumberAt(const SubstituteRegistry& registry, const Location& at,
                                            const std::string& name,
                                            RegistryView view = RegistryView::Default) {
  const auto value = registry.FindValue(at.root, at.path, view, name);
  if (!value || value->type != kRegDword || value->data.size() != kDwordSize) return std::nullopt;
  return DwordNumber({value->data[0], value->data[1], value->data[2], value->data[3]});
}

// Every value the program may have touched (all but the processor
// architecture), for comparing whole registries.
inline std::vector<StoredValue> ProgramValues(const SubstituteRegistry& registry) {
  std::vector<StoredValue> values;
  for (const StoredValue& value : registry.ListValues()) {
    if (value.name != kProcessorArchitectureValue) values.push_back(value);
  }
  return values;
}

// Every program value as "<place>:<name>=<data>", sorted. Places: machine,
// machine64 (the 64-bit view), user, legacy, savedialog, environment.
inline std::vector<std::string> Describe(const SubstituteRegistry& registry) {
  const bool sixtyFourBit = registry.FindValue(kEnvironmentKey.root, kEnvironmentKey.path,
                                               RegistryView::Default, kProcessorArchitectureValue)
                                ->data[0] == 'A';
  const std::string product = "Software\\Marrowby\\Quillon";
  std::vector<std::string> lines;
  for (const StoredValue& value : ProgramValues(registry)) {
    std::string place;
    if (value.root == RootKey::LocalMachine) {
      place = value.path == kEnvironmentKey.path ? "environment"
              : value.path == "Software\\Wow6432Node\\Marrowby\\Quillon" ? "machine"
              : value.path == product ? (sixtyFourBit ? "machine64" : "machine")
                                      : "elsewhere:" + value.path;
    } else {
      place = value.path == product                 ? "user"
              : value.path == kLegacyUserKey.path   ? "legacy"
              : value.path == kSaveDialogKey.path   ? "savedialog"
                                                    : "elsewhere:" + value.path;
    }
    std::string data;
    if (value.type == kRegDword && value.data.size() == kDwordSize) {
      data = std::to_string(DwordNumber({value.data[0], value.data[1], value.data[2], value.data[3]}));
    } else {
      std::string text(value.data.begin(), value.data.end());
      text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
      data = "\"" + text + "\"";
    }
    lines.push_back(place + ":" + value.name + "=" + data);
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace quillon
