// The registry file's lines, one pass, each refused with its number when it
// is not what the importer takes.
#include "settings/RegFileReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace quillon {
namespace {

constexpr std::u16string_view kVersion4Header = u"REGEDIT4";

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view TrimStart(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::u16string_view TrimEnd(std::u16string_view text) {
  while (!text.empty() && (IsBlank(text.back()) || text.back() == u'\r')) text.remove_suffix(1);
  return text;
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() &&
         std::ranges::equal(text.substr(0, prefix.size()), prefix,
                            [](char16_t a, char16_t b) { return Lower(a) == Lower(b); });
}

std::u16string Widened(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// 1 to `maxDigits` hexadecimal digits, the whole of `text`.
std::optional<std::uint32_t> HexNumber(std::u16string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  std::uint32_t number = 0;
  for (const char16_t c : text) {
    const int digit = HexValue(c);
    if (digit < 0) return std::nullopt;
    number = number << 4 | static_cast<std::uint32_t>(digit);
  }
  return number;
}

// The roots the program uses, or another root, which a file may name too.
std::optional<RootKey> RootNamed(std::u16string_view name, bool& known) {
  const auto named = [&](std::u16string_view rootName) {
    return name.size() == rootName.size() && StartsWithNoCase(name, rootName);
  };
  known = true;
  for (const RootSpelling& spelling : kRootSpellings) {
    if (named(Widened(spelling.name))) return spelling.root;
  }
  constexpr std::u16string_view kOtherRoots[] = {u"HKEY_CLASSES_ROOT", u"HKEY_CURRENT_CONFIG"};
  known = std::ranges::any_of(kOtherRoots, named);
  return std::nullopt;
}

std::u16string Utf16FromLittleEndian(std::string_view bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                    static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8);
  }
  return text;
}

class Reader {
 public:
  Reader(std::u16string text, bool wide, const Utf16ToAnsi& toAnsi)
      : text_(std::move(text)), wide_(wide), toAnsi_(toAnsi) {}

  RegFileRead Run() {
    std::u16string_view line;
    if (!NextLine(line) ||
        (TrimEnd(line) != Widened(kRegFileHeader) && TrimEnd(line) != kVersion4Header)) {
      return Refuse(1,
                    "not a registry file: its first line is neither \"Windows Registry Editor "
                    "Version 5.00\" nor \"REGEDIT4\"");
    }
    while (NextLine(line)) {
      const std::u16string_view content = TrimStart(line);
      if (content.empty() || content.front() == u';') continue;
      const bool read = content.front() == u'[' ? ReadKeyLine(content) : ReadValueLine(content);
      if (!read) return Refuse(lineNumber_, error_);
    }
    return {std::move(operations_), 0, {}};
  }

 private:
  static RegFileRead Refuse(std::size_t line, std::string error) {
    return {{}, line, std::move(error)};
  }

  bool Fail(std::string error) {
    error_ = std::move(error);
    return false;
  }

  // The next line without its line end; false at the end of the text.
  bool NextLine(std::u16string_view& line) {
    if (position_ > text_.size() || (position_ == text_.size() && lineNumber_ > 0)) return false;
    const std::size_t end = std::min(text_.find(u'\n', position_), text_.size());
    line = TrimEnd(std::u16string_view(text_).substr(position_, end - position_));
    position_ = end + 1;
    ++lineNumber_;
    return true;
  }

  bool ReadKeyLine(std::u16string_view content) {
    if (content.back() != u']') return Fail("a key's name must end in \"]\"");
    std::u16string_view name = content.substr(1, content.size() - 2);
    const bool removal = !name.empty() && name.front() == u'-';
    if (removal) name.remove_prefix(1);
    const std::size_t slash = name.find(u'\\');
    bool known = false;
    const std::optional<RootKey> root = RootNamed(name.substr(0, slash), known);
    if (!known) return Fail("the key does not start with a root key such as HKEY_LOCAL_MACHINE");
    key_ = {root, slash == name.npos ? std::string() : toAnsi_(name.substr(slash + 1))};
    keyGiven_ = true;
    if (removal) Add(RegFileOperation::Kind::RemoveKey, {}, {});
    return true;
  }

  bool ReadValueLine(std::u16string_view content) {
    if (content.front() != u'"' && content.front() != u'@') {
      return Fail("neither a [key], a value nor a comment");
    }
    if (!keyGiven_) return Fail("a value before the first [key]");
    std::u16string name;
    if (content.front() == u'@') {
      content.remove_prefix(1);
    } else if (!ReadQuoted(content, name)) {
      return Fail("a value's name must be in double quotes, or @");
    }
    content = TrimStart(content);
    if (content.empty() || content.front() != u'=') return Fail("no \"=\" after the value's name");
    content = TrimStart(content.substr(1));
    if (content.empty()) return Fail("no data after \"=\"");
    const std::string ansiName = toAnsi_(name);
    if (content == u"-") {
      Add(RegFileOperation::Kind::RemoveValue, ansiName, {});
      return true;
    }
    // A hex: list may go on over further lines; the value is its first line's.
    const std::size_t line = lineNumber_;
    RegistryValue value;
    if (!ReadData(content, value)) return false;
    Add(RegFileOperation::Kind::SetValue, ansiName, std::move(value), line);
    return true;
  }

  // A double-quoted text at the start of `content`, with \\ and \" for a
  // backslash and a quote; `content` is left after the closing quote.
  static bool ReadQuoted(std::u16string_view& content, std::u16string& text) {
    if (content.empty() || content.front() != u'"') return false;
    for (std::size_t i = 1; i < content.size(); ++i) {
      if (content[i] == u'"') {
        content.remove_prefix(i + 1);
        return true;
      }
      if (content[i] == u'\\' && i + 1 < content.size()) ++i;
      text += content[i];
    }
    return false;
  }

  bool ReadData(std::u16string_view content, RegistryValue& value) {
    if (content.front() == u'"') {
      std::u16string text;
      if (!ReadQuoted(content, text) || !content.empty()) {
        return Fail("a text must be one double-quoted string");
      }
      value = {kRegSz, AnsiBytes(text + u'\0')};
      return true;
    }
    if (StartsWithNoCase(content, u"dword:")) {
      const std::optional<std::uint32_t> number = HexNumber(content.substr(6), 8);
      if (!number) return Fail("dword: takes one to eight hexadecimal digits");
      const auto bytes = DwordBytes(static_cast<std::int32_t>(*number));
      value = {kRegDword, {bytes.begin(), bytes.end()}};
      return true;
    }
    if (StartsWithNoCase(content, u"hex")) return ReadHex(content.substr(3), value);
    return Fail("the data is neither a text, dword:, hex: nor -");
  }

  // hex: or hex(N): and its bytes, continued over lines ending in "\".
  bool ReadHex(std::u16string_view content, RegistryValue& value) {
    std::uint32_t type = kRegBinary;
    if (!content.empty() && content.front() == u'(') {
      const std::size_t close = content.find(u')');
      const std::optional<std::uint32_t> number =
          close == content.npos ? std::nullopt : HexNumber(content.substr(1, close - 1), 8);
      if (!number) return Fail("hex( takes a type of up to eight hexadecimal digits and )");
      type = *number;
      content.remove_prefix(close + 1);
    }
    if (content.empty() || content.front() != u':') return Fail("no \":\" after hex");
    content.remove_prefix(1);
    std::vector<std::uint8_t> bytes;
    while (true) {
      const bool continued = !content.empty() && content.back() == u'\\';
      if (continued) content.remove_suffix(1);
      if (!ReadHexBytes(content, bytes)) return false;
      if (!continued) break;
      std::u16string_view next;
      if (!NextLine(next)) return Fail("the file ends in the middle of a hex: list");
      content = TrimStart(next);
    }
    if (wide_ && IsStringType(type)) {
      if (bytes.size() % 2 != 0)
        return Fail("a text in hex(" + std::to_string(type) + "): has an odd number of bytes");
      const std::string raw(bytes.begin(), bytes.end());
      bytes = AnsiBytes(Utf16FromLittleEndian(raw));
    }
    value = {type, std::move(bytes)};
    return true;
  }

  // "xx,xx,xx" (a trailing comma where the list goes on), blanks allowed.
  bool ReadHexBytes(std::u16string_view list, std::vector<std::uint8_t>& bytes) {
    list = TrimEnd(TrimStart(list));
    while (!list.empty()) {
      const std::size_t comma = list.find(u',');
      const std::u16string_view item = TrimEnd(TrimStart(list.substr(0, comma)));
      const std::optional<std::uint32_t> byte = HexNumber(item, 2);
      if (!byte)
        return Fail("a hex: list takes bytes of two hexadecimal digits, separated by commas");
      bytes.push_back(static_cast<std::uint8_t>(*byte));
      if (comma == list.npos) break;
      list = TrimStart(list.substr(comma + 1));
    }
    return true;
  }

  std::vector<std::uint8_t> AnsiBytes(std::u16string_view text) const {
    const std::string ansi = toAnsi_(text);
    return {ansi.begin(), ansi.end()};
  }

  void Add(RegFileOperation::Kind kind, std::string name, RegistryValue value,
           std::size_t line = 0) {
    operations_.push_back({kind, key_.root, key_.path, std::move(name), std::move(value),
                           line == 0 ? lineNumber_ : line});
  }

  struct Key {
    std::optional<RootKey> root;
    std::string path;
  };

  std::u16string text_;
  bool wide_;
  const Utf16ToAnsi& toAnsi_;
  std::size_t position_ = 0;
  std::size_t lineNumber_ = 0;
  Key key_{};
  bool keyGiven_ = false;
  std::string error_;
  std::vector<RegFileOperation> operations_;
};

}  // namespace

RegFileRead ReadRegFile(std::string_view bytes, const Utf16ToAnsi& toAnsi,
                        const AnsiToUtf16& toUtf16) {
  constexpr std::string_view kUtf16Mark = "\xFF\xFE";
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  if (bytes.starts_with(kUtf8Mark)) {
    return {{}, 0, "the file is UTF-8; the importer takes UTF-16 (\"Unicode\") or ANSI"};
  }
  if (!bytes.starts_with(kUtf16Mark)) return Reader(toUtf16(bytes), false, toAnsi).Run();
  bytes.remove_prefix(kUtf16Mark.size());
  if (bytes.size() % 2 != 0) return {{}, 0, "a UTF-16 file with an odd number of bytes"};
  return Reader(Utf16FromLittleEndian(bytes), true, toAnsi).Run();
}

KeyInView ImportedKey(RootKey root, const std::string& path, WindowsWidth width) {
  if (!HasTwoViewsOn(width, root, path)) return {path, RegistryView::Default};
  if (!InKeyTree(kRedirectedSoftware, path)) return {path, RegistryView::Wow64_64};
  return {std::string(kSoftware) + path.substr(kRedirectedSoftware.size()), RegistryView::Default};
}

}  // namespace quillon
