// The registry file reader, one row a file: what each syntax reads as, each
// malformed line refused with its number; and the export's writer read back.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "settings/RegFile.h"
#include "settings/RegFileReader.h"
#include "settings/substitute/OneByteCodePage.h"

namespace quillon {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// The file as the registry editor saves it: UTF-16LE behind its mark.
std::string Unicode(const std::string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t c : OneByteToUtf16(text))
    bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes)
    text += "0123456789abcdef"[byte >> 4], text += "0123456789abcdef"[byte & 0xF];
  return text;
}

// "<line> set|del|delkey <root>\<path>|<name>=<type>:<bytes>"
Lines Described(const RegFileRead& read) {
  if (!read.error.empty()) return {"line " + std::to_string(read.errorLine) + ": " + read.error};
  Lines lines;
  for (const RegFileOperation& op : read.operations) {
    const std::string root = !op.root                            ? "other"
                             : *op.root == RootKey::LocalMachine ? "HKLM"
                                                                 : "HKCU";
    const std::string kind = op.kind == RegFileOperation::Kind::SetValue      ? "set"
                             : op.kind == RegFileOperation::Kind::RemoveValue ? "del"
                                                                              : "delkey";
    std::string line = std::to_string(op.line) + " " + kind + " " + root + "\\" + op.path;
    if (op.kind != RegFileOperation::Kind::RemoveKey) line += "|" + op.name;
    if (op.kind == RegFileOperation::Kind::SetValue)
      line += "=" + std::to_string(op.value.type) + ":" + Hex(op.value.data);
    lines.push_back(line);
  }
  return lines;
}

constexpr const char* kV5 = "Windows Registry Editor Version 5.00\r\n\r\n";

TEST(RegFileReader, ReadsWhatTheImporterTakesAndRefusesTheRestByLine) {
  const struct {
    std::string file;
    Lines read;
  } rows[] = {
      // texts with their escapes, NUL added; numbers; removals; the default value
      {Unicode(kV5 + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\r\n\"a\\\\b\"=\"C:\\\\x \\\"y\\\"\"\r\n"
                     "@=dword:0000002a\r\n\"n\"=-\r\n"s),
       {R"(4 set HKLM\SOFTWARE\Q|a\b=1:433a5c782022792200)", R"(5 set HKLM\SOFTWARE\Q|=4:2a000000)",
        R"(6 del HKLM\SOFTWARE\Q|n)"}},
      // REGEDIT4 in ANSI with LF: comments, blanks, [-KEY], other roots, hex
      // lists continued over lines, hex(2) in ANSI bytes, any case
      {"REGEDIT4\n; made by "
       "hand\n\n[-HKEY_CURRENT_USER\\Software\\Old]\n[HKEY_CLASSES_ROOT\\.pdf]\n"
       "@=\"x\"\n[HKEY_CURRENT_USER\\Software\\Q]\n  \"b\" = hex:01,02,\\\n    ff\n"
       "\"e\"=hex(2):41,00\n\"d\"=DWORD:ffffffff\n\"m\"=Hex(7):61,00,00\n\"z\"=hex:\n",
       {R"(4 delkey HKCU\Software\Old)", R"(6 set other\.pdf|=1:7800)",
        R"(8 set HKCU\Software\Q|b=3:0102ff)", R"(10 set HKCU\Software\Q|e=2:4100)",
        R"(11 set HKCU\Software\Q|d=4:ffffffff)", R"(12 set HKCU\Software\Q|m=7:610000)",
        R"(13 set HKCU\Software\Q|z=3:)"}},
      // in a Unicode file the text types' bytes are UTF-16LE
      {Unicode(kV5 + "[HKEY_CURRENT_USER\\Q]\r\n\"e\"=hex(2):43,00,3a,00,00,00\r\n"
                     "\"m\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"s),
       {R"(4 set HKCU\Q|e=2:433a00)", R"(5 set HKCU\Q|m=7:6100620000)"}},
      {"Windows Registry Editor 5\n",
       {"line 1: not a registry file: its first line is neither "
        "\"Windows Registry Editor Version 5.00\" nor \"REGEDIT4\""}},
      {"\xEF\xBB\xBFREGEDIT4\n",
       {"line 0: the file is UTF-8; the importer takes UTF-16 "
        "(\"Unicode\") or ANSI"}},
      {Unicode(kV5) + "x", {"line 0: a UTF-16 file with an odd number of bytes"}},
      {"REGEDIT4\n\"a\"=\"b\"\n", {"line 2: a value before the first [key]"}},
      {"REGEDIT4\n[HKLM\\Software]\n",
       {"line 2: the key does not start with a root key such as "
        "HKEY_LOCAL_MACHINE"}},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Q\n", {"line 2: a key's name must end in \"]\""}},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Q]\nname=1\n",
       {"line 3: neither a [key], a value nor a comment"}},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Q]\n\"a\"\n", {"line 3: no \"=\" after the value's name"}},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Q]\n\"a\" \"b\"\n", {"line 3: no \"=\" after the value's name"}},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Q]\n\"a\"=\"b\" c\n",
       {"line 3: a text must be one double-quoted string"}},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Q]\n\"a\"=dword:123456789\n",
       {"line 3: dword: takes one to eight hexadecimal digits"}},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Q]\n\"a\"=hex:01,1g\n",
       {"line 3: a hex: list takes bytes of two hexadecimal digits, separated by commas"}},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Q]\n\"a\"=hex:01,\\\n",
       {"line 3: the file ends in the middle of a hex: list"}},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Q]\n\"a\"=sz:x\n",
       {"line 3: the data is neither a text, dword:, hex: nor -"}},
      {Unicode(kV5 + "[HKEY_CURRENT_USER\\Q]\r\n\"a\"=hex(2):41\r\n"s),
       {"line 4: a text in hex(2): has an odd number of bytes"}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Described(ReadRegFile(row.file, Utf16ToOneByte, OneByteToUtf16)), row.read)
        << row.file;
  }
}

// What the export writes reads back as the writes and removals that made it,
// each key in the view a 64-bit importer sends it to.
TEST(RegFileReader, ReadsTheExportsOwnFileBackAsItsChanges) {
  const auto text = [](std::string s) {
    return RegistryValue{kRegExpandSz, {s.begin(), s.end() + 1}};
  };
  const std::vector<RecordedChange> changes = {
      {RootKey::LocalMachine, "Software\\Marrowby\\Quillon", RegistryView::Wow64_64, "n",
       std::nullopt},
      {RootKey::LocalMachine, "Software\\Marrowby\\Quillon", RegistryView::Default, "PDFFileName",
       text("C:\\PDF\\\"a\" b.pdf")},
      {RootKey::LocalMachine, "Software\\Marrowby\\Quillon", RegistryView::Default, "n",
       RegistryValue{kRegDword, {7, 0, 0, 0}}},
      {RootKey::CurrentUser, "Software\\Marrowby\\Quillon", RegistryView::Default, "PDFFileName",
       std::nullopt},
      {RootKey::CurrentUser, "Software\\Marrowby\\Quillon", RegistryView::Default,
       "a \\ and a \"", std::nullopt},
      {RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
       RegistryView::Default, "QUILLONTEMP", text(std::string(90, 'x'))}};
  const auto described = [](RootKey root, std::string path, RegistryView view,
                            const std::string& name, const std::optional<RegistryValue>& value) {
    for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return std::to_string(static_cast<int>(root)) + path + std::to_string(static_cast<int>(view)) +
           "|" + name + (value ? "=" + std::to_string(value->type) + ":" + Hex(value->data) : "-");
  };
  for (const WindowsWidth width : {WindowsWidth::Bits32, WindowsWidth::Bits64}) {
    // 32-bit Windows has no 64-bit view to clear.
    const std::vector<RecordedChange> written(changes.begin() + (width == WindowsWidth::Bits32),
                                              changes.end());
    const std::vector<std::string> comments = {"a comment"};
    const RegFileRead read = ReadRegFile(RegFileBytes(comments, written, width, OneByteToUtf16),
                                         Utf16ToOneByte, OneByteToUtf16);
    Lines expected, got;
    for (const RecordedChange& change : written)
      expected.push_back(
          described(change.root, change.path, change.view, change.name, change.value));
    for (const RegFileOperation& op : read.operations) {
      const KeyInView key = ImportedKey(*op.root, op.path, width);
      got.push_back(described(
          *op.root, key.path, key.view, op.name,
          op.kind == RegFileOperation::Kind::SetValue ? std::optional(op.value) : std::nullopt));
    }
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(got, expected);
  }
}

}  // namespace
}  // namespace quillon
