// Registry file text, written as the registry editor writes it.
#include "settings/RegFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace quillon {
namespace {

// Hexadecimal data is folded as the registry editor folds it, so that no line
// grows past this.
constexpr std::size_t kFoldColumn = 76;

// A name in quotes, its backslashes and quotes escaped.
std::string EscapedName(const std::string& name) {
  std::string quoted = "\"";
  for (const char c : name) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// "hex(N):xx,xx,..." after `lead`, folded with a backslash and two blanks.
std::string HexData(const std::string& lead, std::uint32_t type,
                    const std::vector<std::uint8_t>& bytes) {
  std::string text = lead + "hex(" + std::to_string(type) + "):";
  std::size_t column = text.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const bool last = i + 1 == bytes.size();
    std::string item = HexDigits(bytes[i], 2, HexLetters::Small) + (last ? "" : ",");
    if (column + item.size() > kFoldColumn) {
      text += "\\\r\n  ";
      column = 2;
    }
    text += item;
    column += item.size();
  }
  return text;
}

std::vector<std::uint8_t> Utf16LeBytes(const std::u16string& text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

std::string DwordText(const std::vector<std::uint8_t>& data) {
  std::array<std::uint8_t, kDwordSize> bytes{};
  std::copy(data.begin(), data.end(), bytes.begin());
  const auto number = static_cast<std::uint32_t>(DwordNumber(bytes));
  return "dword:" + HexDigits(number, 8, HexLetters::Small);
}

// One line (perhaps folded) for a value, in ANSI text; texts' data is already
// in its wide form.
std::string ValueLine(const RecordedChange& change, const AnsiToUtf16& toUtf16) {
  const std::string lead = EscapedName(change.name) + "=";
  if (!change.value) return lead + "-";
  const RegistryValue& value = *change.value;
  if (value.type == kRegDword && value.data.size() == kDwordSize) {
    return lead + DwordText(value.data);
  }
  if (IsStringType(value.type)) {
    const std::string_view ansi(reinterpret_cast<const char*>(value.data.data()),
                                value.data.size());
    return HexData(lead, value.type, Utf16LeBytes(toUtf16(ansi)));
  }
  return HexData(lead, value.type, value.data);
}

}  // namespace

std::string RegFileKeyName(RootKey root, const std::string& path, RegistryView view,
                           WindowsWidth width) {
  const std::string rootName(SpellingOf(root).name);
  if (!KeyHasTwoViews(root, path)) return rootName + "\\" + path;
  const std::string software =
      std::string(kSoftware) + path.substr(std::min(path.size(), kSoftware.size()));
  const bool redirected = width == WindowsWidth::Bits64 && view == RegistryView::Default;
  return rootName + "\\" + (redirected ? RedirectedPath(software) : software);
}

std::string RegFileBytes(std::span<const std::string> comments,
                         std::span<const RecordedChange> changes, WindowsWidth width,
                         const AnsiToUtf16& toUtf16) {
  std::string text = std::string(kRegFileHeader) + "\r\n\r\n";
  for (const std::string& comment : comments) text += "; " + comment + "\r\n";
  std::vector<RecordedChange> ordered(changes.begin(), changes.end());
  // The 64-bit view first: a 32-bit importer sends it to the program's own
  // view too, where the program's values must be the last word.
  std::stable_partition(ordered.begin(), ordered.end(), [](const RecordedChange& change) {
    return change.view == RegistryView::Wow64_64;
  });
  std::vector<std::string> keys;
  for (const RecordedChange& change : ordered) {
    const std::string key = RegFileKeyName(change.root, change.path, change.view, width);
    if (std::ranges::find(keys, key) == keys.end()) keys.push_back(key);
  }
  for (const std::string& key : keys) {
    text += "\r\n[" + key + "]\r\n";
    for (const RecordedChange& change : ordered) {
      if (RegFileKeyName(change.root, change.path, change.view, width) != key) continue;
      text += ValueLine(change, toUtf16) + "\r\n";
    }
  }
  const std::u16string wide = u'\xFEFF' + toUtf16(text);
  const std::vector<std::uint8_t> bytes = Utf16LeBytes(wide);
  return {bytes.begin(), bytes.end()};
}

}  // namespace quillon
