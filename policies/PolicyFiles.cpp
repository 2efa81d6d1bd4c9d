// The two template files written from the policies: the ADMX's definitions
// and the en-US ADML's strings and presentations.
#include "policies/PolicyTemplates.h"

#include <string>
#include <string_view>
#include <vector>

#include "model/ControlTable.h"

namespace quillon {
namespace {

constexpr std::string_view kPageNames[kPageCount] = {"FileSave", "Email", "FileName",
                                                     "Troubleshooting", "Security"};
constexpr std::string_view kNamespace = "Marrowby.Policies.Quillon";
constexpr std::string_view kSupported = "SUPPORTED_Windows";
constexpr std::string_view kSupported64 = "SUPPORTED_Windows64";
constexpr std::string_view kCategory = "Quillon";

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
