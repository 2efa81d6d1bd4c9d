#pragma once
// Pixels of the screen: a window as it is on the screen, saved as a BMP file,
// and the comparison of what a small window shows with an icon drawn here.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::e2e {

// 0x00RRGGBB, row by row from the top.
using Pixels = std::vector<std::uint32_t>;

// The screen inside `rect`; empty when it could not be read.
Pixels ScreenPixels(const RECT& rect);

// `icon` drawn at `size` over `background`, as an icon static control draws
// it over its dialog's face.
Pixels DrawnIcon(HICON icon, SIZE size, COLORREF background);

// Copies the window's rectangle from the screen into a 32-bit BMP file;
// false when it could not be taken or written.
[[nodiscard]] bool SaveWindowPicture(HWND window, const std::string& path);

}  // namespace quillon::e2e
