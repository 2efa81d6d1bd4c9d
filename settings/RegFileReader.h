#pragma once
// A registry file read as "reg import" reads it, and as administrators edit
// it by hand: "Windows Registry Editor Version 5.00" in UTF-16LE with its
// byte-order mark, or "REGEDIT4" in the ANSI code page; CRLF or LF; comments;
// "name"="text", dword:, hex:, hex(N):, "name"=-, @ for a key's default
// value, [KEY] and [-KEY]; hexadecimal lists continued over lines ending in a
// backslash. Anything else is refused with its line number. The file may come
// from anywhere: reading takes time and memory in proportion to its size.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/RecordingRegistry.h"
#include "settings/RegFile.h"

namespace quillon {

// What one line of the file does, in the file's order.
struct RegFileOperation {
  enum class Kind { SetValue, RemoveValue, RemoveKey };
  Kind kind;
  std::optional<RootKey> root;  // none: a root the printer keeps nothing under
  std::string path;             // below the root, as written
  std::string name;             // "" for the key's default value (@)
  RegistryValue value{};        // SetValue: type and bytes as the ANSI calls read them
  std::size_t line;
};

struct RegFileRead {
  std::vector<RegFileOperation> operations;  // when the whole file reads
  std::size_t errorLine = 0;                 // otherwise the line at fault (0: the file itself)
  std::string error;                         // and what is wrong with it
};

RegFileRead ReadRegFile(std::string_view bytes, const Utf16ToAnsi& toAnsi,
                        const AnsiToUtf16& toUtf16);

// The key a 64-bit "reg import" writes a file's key to, the way RegFileKeyName
// names it: on 64-bit Windows SOFTWARE\WOW6432Node is the 32-bit view of
// SOFTWARE, and the plain SOFTWARE its 64-bit view.
struct KeyInView {
  std::string path;
  RegistryView view;
};
KeyInView ImportedKey(RootKey root, const std::string& path, WindowsWidth width);

}  // namespace quillon
