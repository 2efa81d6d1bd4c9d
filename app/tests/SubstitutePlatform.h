#pragma once
// Everything the main window works through, as native substitutes, a session
// that opens the window on a seeded registry the way the program does
// (construct, then load), and the registry's values in a form to compare.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/AdminUtilityMain.h"
#include "app/ControlModel.h"
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
                                         const std::string& name) {
  const auto value = registry.FindValue(at.root, at.path, RegistryView::Default, name);
  if (!value || !IsStringType(value->type)) return std::nullopt;
  const std::string text(value->data.begin(), value->data.end());
  return text.substr(0, text.find('\0'));
}

inline std::optional<std::int32_t> NumberAt(const SubstituteRegistry& registry, const Location& at,
                                            const std::string& name) {
  const auto value = registry.FindValue(at.root, at.path, RegistryView::Default, name);
  if (!value || value->type != kRegDword || value->data.size() != kDwordSize) return std::nullopt;
  return DwordNumber({value->data[0], value->data[1], value->data[2], value->data[3]});
}

// Every value the program may have touched (all but the processor
// architecture) as "<place>:<name>=<data>", sorted. Places: machine,
// machine64 (the 64-bit view), user, legacy, savedialog, environment.
inline std::vector<std::string> Describe(const SubstituteRegistry& registry) {
  const bool sixtyFourBit = registry.KeyExists(RootKey::LocalMachine, "Software\\Wow6432Node",
                                               RegistryView::Wow64_64);
  const struct {
    RootKey root;
    std::string path;
    std::string place;
  } places[] = {
      {RootKey::LocalMachine, kEnvironmentKey.path, "environment"},
      {RootKey::LocalMachine, "Software\\Wow6432Node\\Marrowby\\Quillon", "machine"},
      {RootKey::LocalMachine, kProductKeyPath, sixtyFourBit ? "machine64" : "machine"},
      {RootKey::CurrentUser, kProductKeyPath, "user"},
      {RootKey::CurrentUser, kLegacyUserKey.path, "legacy"},
      {RootKey::CurrentUser, kSaveDialogKey.path, "savedialog"}};
  std::vector<std::string> lines;
  for (const StoredValue& value : registry.ListValues()) {
    if (value.name == kProcessorArchitectureValue) continue;
    std::string place = "elsewhere:" + value.path;
    for (const auto& at : places) {
      if (value.root == at.root && value.path == at.path) place = at.place;
    }
    std::string data;
    if (value.type == kRegDword && value.data.size() == kDwordSize) {
      data = std::to_string(DwordNumber({value.data[0], value.data[1], value.data[2], value.data[3]}));
    } else {
      std::string text(value.data.begin(), value.data.end());
      std::erase(text, '\0');
      data = "\"" + text + "\"";
    }
    lines.push_back(place + ":" + value.name + "=" + data);
  }
  std::ranges::sort(lines);
  return lines;
}

// What Describe shows after a pass of an untouched window, with the eight
// machine numbers every pass writes, then `changed` replacing the lines of
// the same values and `added` lines added.
inline std::vector<std::string> AfterPass(const std::vector<std::string>& changed,
                                          const std::vector<std::string>& added) {
  std::vector<std::string> lines = {
      "machine:PDFMailResolveNames=0",           "machine:PDFPreview=0",
      "machine:default options mask=0",          "machine:default options=0",
      "machine:default permissions mask=0",      "machine:default permissions=0",
      "machine:disable autoname keyboard check=0", "machine:disabled options=0"};
  for (const std::string& line : changed) {
    const std::string value = line.substr(0, line.find('=') + 1);
    std::ranges::replace_if(
        lines, [&value](const std::string& old) { return old.starts_with(value); }, line);
  }
  lines.insert(lines.end(), added.begin(), added.end());
  std::ranges::sort(lines);
  return lines;
}

}  // namespace quillon
