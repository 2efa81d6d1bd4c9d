// The policies, walked out of the settings catalogue and the lookup order,
// and the two files written from them.
#include "policies/PolicyTemplates.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "app/BitSets.h"
#include "app/Captions.h"
#include "settings/SettingLocations.h"
#include "settings/Spelling.h"

namespace quillon {
namespace {

using Id = ControlId;
using Rows = std::span<const Setting>;

constexpr PolicyExclusion kExclusions[] = {
    {"default user password", WriteRule::Password,
     "A GPO's Registry.pol lies in SYSVOL, which every domain user can read, and the stored form "
     "of the password can be decoded by anyone with the utility. Set it with the utility, or "
     "carry its /export file through a share only administrators can read."},
    {"default master password", WriteRule::Password,
     "As the default user password: nothing secret belongs in a GPO."},
    {"QUILLONTEMP", WriteRule::TempFolder,
     "A system environment variable under SYSTEM\\, which Intune refuses, and which running "
     "programs see only once the change is announced. Group Policy Preferences' Environment "
     "items (Computer Configuration, Preferences, Windows Settings, Environment: a system "
     "variable named QUILLONTEMP) set it and announce it."},
    {"file options", WriteRule::SaveDialog,
     "The save dialog's own per-user number, which the window never shows: Apply only removes it."},
    {"persistent", WriteRule::Persistent,
     "Not a setting of its own: the policies for the job's options set it to 1 beside their value, "
     "as Apply does."},
};

constexpr std::string_view kPageNames[kPageCount] = {"FileSave", "Email", "FileName",
                                                     "Troubleshooting", "Security"};
constexpr std::string_view kNamespace = "Marrowby.Policies.Quillon";
constexpr std::string_view kSupported = "SUPPORTED_Windows";
constexpr std::string_view kSupported64 = "SUPPORTED_Windows64";
constexpr std::string_view kCategory = "Quillon";
constexpr std::uint32_t kLargestNumber = 2147483647;

std::string BitLine(std::uint32_t bit, const std::string& meaning) {
  return "\n" + std::to_string(bit) + " (0x" + HexDigits(bit, 1, HexLetters::Capital) +
         "): " + meaning;
}

// The bits of a bit set, what each stands for in the window, and the
// largest number they make together.
struct BitList {
  std::string lines;
  std::uint32_t all = 0;
  void Add(std::uint32_t bit, const std::string& meaning) {
    lines += BitLine(bit, meaning);
    all |= bit;
  }
};

BitList BitsOf(BitSet set) {
  BitList list;
  switch (set) {
    case BitSet::DisabledOptions:
      for (const DisabledOptionBit& option : kDisabledOptionBits) {
        list.Add(option.bit, Quoted(DefinitionOf(option.box).caption) +
                                 (option.sense == Sense::Set ? " ticked" : " cleared"));
      }
      break;
    case BitSet::Options:
      for (const EncryptionLevel& level : kEncryptionLevels) {
        if (level.bit != 0) list.Add(level.bit, Quoted(level.item));
      }
      list.Add(kResizingBit, Quoted(DefinitionOf(kResizingBox).caption) + " ticked");
      list.lines += "\nNone of the encryption bits, with the mask's: " + Quoted(kNoEncryptionItem) +
                    ". Each bit counts only with its bits in \"default options mask\".";
      break;
    case BitSet::OptionsMask:
      list.Add(kEncryptionGroup, Quoted(DefinitionOf(Id::Label15).caption) + " is chosen");
      list.Add(kResizingBit, Quoted(DefinitionOf(kResizingBox).caption) + " is set");
      break;
    case BitSet::Permissions:
      for (const PermissionCombo& combo : kPermissionCombos) {
        list.Add(combo.bits, Quoted(combo.allowItem) + "; without it, and with the mask's bits, " +
                                 Quoted(combo.preventItem));
      }
      break;
    case BitSet::PermissionsMask:
      for (const PermissionCombo& combo : kPermissionCombos) {
        list.Add(combo.bits, Quoted(combo.allowItem) + " or " + Quoted(combo.preventItem) +
                                 " is chosen");
      }
      break;
    case BitSet::FileOptions:
      for (const WatermarkPlacement& placement : kWatermarkPlacements) {
        list.Add(placement.bit, Quoted(placement.item) + ", with a watermark file");
      }
      break;
  }
  return list;
}

// Group Policy writes a machine key as named in the 64-bit view; the
// program's own view is the 32-bit one, reached by the WOW6432Node name.
std::string KeyName(FoundAt copy) {
  const CopyPlace& place = PlaceOf(copy);
  const std::string path = place.location.path;
  if (place.location.root == RootKey::CurrentUser || place.view == RegistryView::Wow64_64) {
    return path;
  }
  return RedirectedPath(path);
}

bool InHive(FoundAt copy, PolicyClass policyClass) {
  return (PlaceOf(copy).location.root == RootKey::LocalMachine) ==
         (policyClass == PolicyClass::Machine);
}

// Where a policy of the class stores the value: the first place the load
// reads in its hive.
FoundAt StoredAt(PolicyClass policyClass, ValueType type) {
  for (const FoundAt copy : PlacesRead(Residence::UserFirst, type)) {
    if (copy != FoundAt::LegacyUserKey && InHive(copy, policyClass)) return copy;
  }
  return FoundAt::MachineKey;
}

// The row whose name a policy for these rows stores: the persistent, waiting
// names, and the merge command the window starts with.
const Setting& StoredRow(Rows rows) {
  const auto row = std::ranges::find_if(rows, [](const Setting& r) {
    switch (r.write) {
      case WriteRule::FileName:
        return r.variant.persistent;
      case WriteRule::PostAction:
        return r.variant.persistent && !r.variant.noWait;
      case WriteRule::MergeFile:
        return r.variant.mergeCommand == kAppendItem;
      default:
        return true;
    }
  });
  return *row;
}

bool Excluded(const Setting& row) {
  return std::ranges::any_of(kExclusions, [&row](const PolicyExclusion& exclusion) {
    return exclusion.name == row.name && exclusion.write == row.write;
  });
}

bool UserFirst(ReadRule rule) {
  switch (rule) {
    case ReadRule::UserFirstText:
    case ReadRule::UserFirstNumber:
    case ReadRule::FirstNonZero:
    case ReadRule::FileName:
    case ReadRule::PostAction:
    case ReadRule::MergeFile:
      return true;
    default:
      return false;
  }
}

std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += "\n" + item;
  return text;
}

std::string ExplainOf(const Policy& policy, const Setting& row, Rows rows, const BitList& bits) {
  const bool number = policy.control != PolicyControl::Text;
  const ControlDefinition* box = row.control ? &DefinitionOf(*row.control) : nullptr;
  const RootSpelling& root = SpellingOf(
      policy.policyClass == PolicyClass::Machine ? RootKey::LocalMachine : RootKey::CurrentUser);
  const std::string hive = std::string(root.abbreviation) + "\\";
  const std::string hiveName(root.name);
  const std::string shown =
      policy.displayName.starts_with('"') ? policy.displayName : Quoted(policy.displayName);
  std::string text = "Presets " + shown + " on the " +
                     Quoted(kTabControl.tabCaptions[static_cast<std::size_t>(policy.page)]) +
                     " page of the Quillon Administrator Utility, for the Quillon PDF printer.";
  if (box && !box->toolTip.empty()) text += " " + std::string(box->toolTip);

  text += "\n\nEnabled: ";
  text += policy.control == PolicyControl::CheckBox ? "ticks it, storing 1"
                                                    : "stores the value you enter";
  text += " as " + Quoted(policy.value.valueName) + " (" + (number ? "REG_DWORD" : "REG_EXPAND_SZ") +
          ") in " + hive + policy.value.key;
  if (policy.only64BitWindows) {
    text += ", which is the 32-bit registry view of HKLM\\Software\\Marrowby\\Quillon, the one the "
            "printer reads texts from";
  } else if (policy.policyClass == PolicyClass::Machine) {
    text += " (the 64-bit registry view, which the printer reads numbers from first)";
  }
  text += ".";
  if (!bits.lines.empty()) {
    text += " Its bits, added together (/report shows the number the window's boxes make):" +
            bits.lines;
  }
  std::vector<std::string> removed;
  for (const PolicyValue& value : policy.removals) {
    removed.push_back(hive + value.key + ": " + Quoted(value.valueName));
  }
  if (!removed.empty()) {
    text += "\n\nIt also removes every other copy the printer could read in " + hiveName +
            ", so that the value wins:" + Listed(removed);
  }
  if (!policy.alsoSetsToOne.empty()) {
    text += "\n\nAs Apply does when it stores one of the job's options, Enabled also stores "
            "\"persistent\" = 1 in " + hive + policy.alsoSetsToOne.front().key +
            ". Disabled leaves \"persistent\" alone: the other job options share it.";
  }

  text += "\n\nDisabled: removes the value and those copies, so the printer uses its default: ";
  if (policy.control == PolicyControl::Text) {
    text += "none.";
  } else if (policy.control == PolicyControl::CheckBox) {
    text += "the box clear.";
  } else {
    text += std::to_string(policy.defaultNumber) + ".";
  }
  text += " Not configured: changes nothing.";

  if (UserFirst(row.read) && policy.policyClass == PolicyClass::Machine) {
    text += "\n\nOnly a default for all users of the computer: a copy a user keeps (in "
            "HKCU\\Software\\Marrowby\\Quillon or in the per-user legacy key) comes first. To "
            "hold the setting for every user, use the policy of the same name under User "
            "Configuration.";
  } else if (UserFirst(row.read)) {
    std::vector<std::string> earlier;
    for (const Setting& other : rows) {
      if (LoadRank(other) < LoadRank(row)) earlier.push_back(Quoted(other.name));
    }
    text += "\n\nIt comes before any copy stored for all users of the computer";
    if (earlier.empty()) {
      text += ".";
    } else {
      text += ", except one stored under a name the printer tries first:";
      for (const std::string& name : earlier) text += " " + name;
      text += ". The policy of the same name under Computer Configuration, Enabled or "
              "Disabled, removes those.";
    }
  }
  if (rows.size() > 1) {
    text += "\n\nThe printer keeps this setting under " + std::to_string(rows.size()) +
            " names; this policy stores " + Quoted(row.name);
    if (row.write == WriteRule::PostAction) {
      text += ", which the window shows with " +
              Quoted(DefinitionOf(Id::chkPostActionWait).caption) + " ticked";
    } else if (!row.variant.mergeCommand.empty()) {
      text += ", which the window shows with " + Quoted(row.variant.mergeCommand) + " chosen";
    }
    text += ", and removes the others. For another of them, use the utility's window, or its "
            "/export file.";
  }
  if (policy.only64BitWindows) {
    text += "\n\nFor 64-bit Windows (x64 or ARM64). On 32-bit Windows the key above is one "
            "the printer does not read: set the value there with the utility, or with its "
            "/export file.";
  }
  text += "\n\nA preference, not a policy: the value lies outside Software\\Policies, so it "
          "stays when the GPO is removed or no longer applies. Set the policy to Disabled "
          "first to remove it. On a computer, \"quillon-admin /report\" shows where each "
          "setting comes from.";
  return text;
}

std::string PolicyName(std::string_view valueName) {
  std::string name;
  bool startOfWord = true;
  for (const char c : valueName) {
    const bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alphanumeric) {
      startOfWord = true;
      continue;
    }
    name += startOfWord && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    startOfWord = false;
  }
  return name;
}

Policy PolicyFor(Rows rows, PolicyClass policyClass, bool companion) {
  const Setting& row = StoredRow(rows);
  Policy policy;
  policy.name = PolicyName(row.name) + (companion ? "_AllUsers" : "");
  policy.policyClass = policyClass;
  policy.page = *PageOf(row);
  policy.displayName = Heading(row);
  const FoundAt stored = StoredAt(policyClass, row.type);
  policy.value = {KeyName(stored), std::string(row.name)};
  policy.only64BitWindows = policyClass == PolicyClass::Machine && row.type == ValueType::Text;
  BitList bits;
  if (row.type == ValueType::Text) {
    policy.control = PolicyControl::Text;
  } else if (row.bitSet) {
    bits = BitsOf(*row.bitSet);
    policy.control = PolicyControl::Decimal;
    policy.maxValue = bits.all;
  } else if (DefinitionOf(*row.control).kind == ControlKind::kCheckBox) {
    policy.control = PolicyControl::CheckBox;
  } else {
    policy.control = PolicyControl::Decimal;
    policy.maxValue = kLargestNumber;
    policy.defaultNumber = row.defaultNumber;
  }
  // In the load's order, name by name, so the list reads as the printer looks.
  std::vector<const Setting*> names;
  for (const Setting& name : rows) names.push_back(&name);
  std::ranges::stable_sort(names, {}, [](const Setting* r) { return LoadRank(*r); });
  for (const Setting* name : names) {
    for (const FoundAt copy : PlacesRead(Residence::UserFirst, row.type)) {
      if (!InHive(copy, policyClass)) continue;
      if (name == &row && copy == stored) continue;
      policy.removals.push_back({KeyName(copy), std::string(name->name)});
    }
  }
  if (row.jobOption) {
    const auto persistent = std::ranges::find(SettingsCatalogue(), WriteRule::Persistent,
                                              &Setting::write);
    // Where Apply stores it for this scope, in the program's own view.
    const FoundAt scope =
        policyClass == PolicyClass::Machine ? FoundAt::MachineKey : FoundAt::UserKey;
    policy.alsoSetsToOne.push_back({KeyName(scope), std::string(persistent->name)});
  }
  policy.explain = ExplainOf(policy, row, rows, bits);
  return policy;
}

// XML text: the five characters that may not stand as they are.
std::string Escaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&apos;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string Attribute(std::string_view name, std::string_view value) {
  return " " + std::string(name) + "=\"" + Escaped(value) + "\"";
}

std::string Item(const PolicyValue& value, const std::string& data) {
  return "        <item" + Attribute("key", value.key) + Attribute("valueName", value.valueName) +
         "><value>" + data + "</value></item>\n";
}

constexpr std::string_view kDelete = "<delete/>";
constexpr std::string_view kOne = "<decimal value=\"1\"/>";

std::string PolicyElement(const Policy& p) {
  const std::string category = std::string(kPageNames[static_cast<std::size_t>(p.page)]);
  std::string xml = "    <policy" + Attribute("name", p.name) +
                    Attribute("class", p.policyClass == PolicyClass::Machine ? "Machine" : "User") +
                    Attribute("displayName", "$(string." + p.name + ")") +
                    Attribute("explainText", "$(string." + p.name + "_Explain)") +
                    Attribute("key", p.value.key);
  if (p.control == PolicyControl::CheckBox) {
    xml += Attribute("valueName", p.value.valueName);
  } else {
    xml += Attribute("presentation", "$(presentation." + p.name + ")");
  }
  xml += ">\n      <parentCategory" + Attribute("ref", category) + "/>\n      <supportedOn" +
         Attribute("ref", p.only64BitWindows ? kSupported64 : kSupported) + "/>\n";
  if (p.control == PolicyControl::CheckBox) {
    xml += "      <enabledValue>" + std::string(kOne) + "</enabledValue>\n";
    xml += "      <disabledValue>" + std::string(kDelete) + "</disabledValue>\n";
  }
  std::string enabled, disabled;
  for (const PolicyValue& value : p.removals) enabled += Item(value, std::string(kDelete));
  for (const PolicyValue& value : p.alsoSetsToOne) enabled += Item(value, std::string(kOne));
  if (p.control != PolicyControl::CheckBox) disabled += Item(p.value, std::string(kDelete));
  for (const PolicyValue& value : p.removals) disabled += Item(value, std::string(kDelete));
  if (!enabled.empty()) xml += "      <enabledList>\n" + enabled + "      </enabledList>\n";
  if (!disabled.empty()) xml += "      <disabledList>\n" + disabled + "      </disabledList>\n";
  if (p.control == PolicyControl::Text) {
    xml += "      <elements>\n        <text" + Attribute("id", p.name) +
           Attribute("valueName", p.value.valueName) + Attribute("required", "true") +
           Attribute("expandable", "true") + "/>\n      </elements>\n";
  } else if (p.control == PolicyControl::Decimal) {
    xml += "      <elements>\n        <decimal" + Attribute("id", p.name) +
           Attribute("valueName", p.value.valueName) + Attribute("required", "true") +
           Attribute("minValue", "0") + Attribute("maxValue", std::to_string(p.maxValue)) +
           "/>\n      </elements>\n";
  }
  return xml + "    </policy>\n";
}

constexpr std::string_view kXmlHeader = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
constexpr std::string_view kSchemaAttributes =
    " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " revision=\"1.0\" schemaVersion=\"1.0\""
    " xmlns=\"http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions\"";

std::string StringEntry(std::string_view id, std::string_view text) {
  return "      <string" + Attribute("id", id) + ">" + Escaped(text) + "</string>\n";
}

// The XML declaration, the note that the file is made, and the root's start tag.
std::string FileStart(std::string_view root) {
  return std::string(kXmlHeader) +
         "<!-- Made by the utility's policy template writer from its settings catalogue; "
         "edit the catalogue, not this file. -->\n<" +
         std::string(root) + std::string(kSchemaAttributes) + ">\n";
}

}  // namespace

std::span<const PolicyExclusion> PolicyExclusions() { return kExclusions; }

std::vector<Policy> Policies() {
  std::vector<Policy> policies;
  ForEachSetting(
      SettingsCatalogue(), [](const Setting& row) { return row.write; },
      [&policies](Rows rows) {
        const Setting& row = StoredRow(rows);
        if (Excluded(row)) return;
        switch (row.read) {
          case ReadRule::MachineText:
          case ReadRule::MachineNumber:
            policies.push_back(PolicyFor(rows, PolicyClass::Machine, false));
            return;
          case ReadRule::UserFirstText:
          case ReadRule::UserFirstNumber:
          case ReadRule::FirstNonZero:
          case ReadRule::FileName:
          case ReadRule::PostAction:
          case ReadRule::MergeFile:
            policies.push_back(PolicyFor(rows, PolicyClass::User, false));
            policies.push_back(PolicyFor(rows, PolicyClass::Machine, true));
            return;
          // Neither has a policy: one without an exclusion shows up as such
          // in the template's test.
          case ReadRule::Password:
          case ReadRule::EnvironmentText:
          case ReadRule::Never:
            return;
        }
      });
  // In the window's order: page by page, then as the catalogue has them.
  std::ranges::stable_sort(policies, {}, &Policy::page);
  return policies;
}

std::string PolicyDefinitionsFile(const std::vector<Policy>& policies) {
  std::string xml = FileStart("policyDefinitions");
  xml += "  <policyNamespaces>\n    <target" + Attribute("prefix", "quillon") +
         Attribute("namespace", kNamespace) + "/>\n  </policyNamespaces>\n";
  xml += "  <resources" + Attribute("minRequiredRevision", "1.0") + "/>\n";
  xml += "  <supportedOn>\n    <definitions>\n";
  for (const std::string_view id : {kSupported, kSupported64}) {
    xml += "      <definition" + Attribute("name", id) +
           Attribute("displayName", "$(string." + std::string(id) + ")") + "/>\n";
  }
  xml += "    </definitions>\n  </supportedOn>\n  <categories>\n";
  xml += "    <category" + Attribute("name", kCategory) +
         Attribute("displayName", "$(string.Category_Quillon)") + "/>\n";
  for (const std::string_view page : kPageNames) {
    xml += "    <category" + Attribute("name", page) +
           Attribute("displayName", "$(string.Category_" + std::string(page) + ")") +
           ">\n      <parentCategory" + Attribute("ref", kCategory) + "/>\n    </category>\n";
  }
  xml += "  </categories>\n  <policies>\n";
  for (const Policy& policy : policies) xml += PolicyElement(policy);
  xml += "  </policies>\n</policyDefinitions>\n";
  return xml;
}

std::string PolicyResourcesFile(const std::vector<Policy>& policies) {
  std::string xml = FileStart("policyDefinitionResources");
  xml += "  <displayName>Quillon PDF printer</displayName>\n";
  xml += "  <description>Presets the Quillon PDF printer as the Quillon Administrator Utility "
         "does.</description>\n";
  xml += "  <resources>\n    <stringTable>\n";
  xml += StringEntry(kSupported, "Windows, 32-bit or 64-bit");
  xml += StringEntry(kSupported64,
                     "64-bit Windows (x64 or ARM64); on 32-bit Windows the printer does not read "
                     "the key this policy writes");
  xml += StringEntry("Category_Quillon", "Quillon PDF printer");
  for (std::size_t page = 0; page < kPageCount; ++page) {
    xml += StringEntry("Category_" + std::string(kPageNames[page]), kTabControl.tabCaptions[page]);
  }
  for (const Policy& policy : policies) {
    xml += StringEntry(policy.name, policy.displayName);
    xml += StringEntry(policy.name + "_Explain", policy.explain);
  }
  xml += "    </stringTable>\n    <presentationTable>\n";
  for (const Policy& policy : policies) {
    if (policy.control == PolicyControl::CheckBox) continue;
    xml += "      <presentation" + Attribute("id", policy.name) + ">\n";
    if (policy.control == PolicyControl::Text) {
      xml += "        <textBox" + Attribute("refId", policy.name) + "><label>" +
             Escaped(policy.displayName) + "</label></textBox>\n";
    } else {
      xml += "        <decimalTextBox" + Attribute("refId", policy.name) +
             Attribute("defaultValue", std::to_string(policy.defaultNumber)) + ">" +
             Escaped(policy.displayName) + "</decimalTextBox>\n";
    }
    xml += "      </presentation>\n";
  }
  xml += "    </presentationTable>\n  </resources>\n</policyDefinitionResources>\n";
  return xml;
}

}  // namespace quillon
