#pragma once
// A registry file that Windows' own tools import as it is ("reg import", the
// registry editor and the deployment tools built on them): "Windows Registry
// Editor Version 5.00", UTF-16LE with its byte-order mark, CRLF line ends.
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "settings/RecordingRegistry.h"
#include "settings/Spelling.h"

namespace quillon {

// Text in the system's ANSI code page in the registry's wide form, NULs kept.
using AnsiToUtf16 = std::function<std::u16string(std::string_view)>;
// Wide text in the system's ANSI code page, as the registry's ANSI calls give
// it back; NULs kept.
using Utf16ToAnsi = std::function<std::string(std::u16string_view)>;

// The first line of every file written, and of the files read besides REGEDIT4.
inline constexpr std::string_view kRegFileHeader = "Windows Registry Editor Version 5.00";

// The key's name as a 64-bit "reg import" reaches it in that view: on 64-bit
// Windows the 32-bit view of HKEY_LOCAL_MACHINE\Software is its WOW6432Node
// subkey; on 32-bit Windows there is only the plain path.
std::string RegFileKeyName(RootKey root, const std::string& path, RegistryView view,
                           WindowsWidth width);

// The whole file: the comment lines (each given without its ";"), then one
// section per key, each value set or removed. The 64-bit view's sections
// come first and the rest follow in the order first touched: a 32-bit
// importer sends both views to the 32-bit one, where what the program reads
// must be the last word, so no removal there undoes a write the file makes.
std::string RegFileBytes(std::span<const std::string> comments,
                         std::span<const RecordedChange> changes, WindowsWidth width,
                         const AnsiToUtf16& toUtf16);

}  // namespace quillon
