// What each policy's explanation says, made from the catalogue, the captions
// and the places the load reads.
#include "policies/PolicyExplanation.h"

#include <algorithm>
#include <vector>

#include "model/Captions.h"
#include "settings/SettingLocations.h"
#include "settings/Spelling.h"

namespace quillon {
namespace {

using Id = ControlId;
using Rows = std::span<const Setting>;

std::string BitLine(std::uint32_t bit, const std::string& meaning) {
  return "\n" + std::to_string(bit) + " (0x" + HexDigits(bit, 1, HexLetters::Capital) +
         "): " + meaning;
}

std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += "\n" + item;
  return text;
}

}  // namespace

void BitList::Add(std::uint32_t bit, const std::string& meaning) {
  lines += BitLine(bit, meaning);
  all |= bit;
}

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

  if (ResidenceOf(row) == Residence::UserFirst && policy.policyClass == PolicyClass::Machine) {
    text += "\n\nOnly a default for all users of the computer: a copy a user keeps (in "
            "HKCU\\Software\\Marrowby\\Quillon or in the per-user legacy key) comes first. To "
            "hold the setting for every user, use the policy of the same name under User "
            "Configuration.";
  } else if (ResidenceOf(row) == Residence::UserFirst) {
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

}  // namespace quillon
