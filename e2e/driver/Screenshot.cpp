// Screen pixels through GDI: everything is drawn into a 32-bit top-down DIB
// section, whose bits are then read directly.
#include "e2e/driver/Screenshot.h"

#include <cstring>
#include <fstream>

namespace quillon::e2e {

namespace {

constexpr WORD kBmpSignature = 0x4D42;  // "BM"
constexpr WORD kBitsPerPixel = 32;

BITMAPINFOHEADER TopDownHeader(LONG width, LONG height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;  // negative: rows from the top
  header.biPlanes = 1;
  header.biBitCount = kBitsPerPixel;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(width * height * 4);
  return header;
}

// A memory device context drawing into a DIB section of our own.
class Canvas {
 public:
  Canvas(LONG width, LONG height)
      : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = TopDownHeader(width, height);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool Usable() const { return previous_ != nullptr; }
  HDC Dc() const { return dc_; }
  Pixels Read() const {
    GdiFlush();  // GDI may batch drawing into the section
    Pixels pixels(static_cast<std::size_t>(width_ * height_));
    std::memcpy(pixels.data(), bits_, pixels.size() * sizeof(std::uint32_t));
    for (std::uint32_t& pixel : pixels) pixel &= 0x00FFFFFF;  // the spare byte means nothing
    return pixels;
  }

 private:
  LONG width_;
  LONG height_;
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  void* bits_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

bool WriteBmp(const std::string& path, LONG width, LONG height, const Pixels& pixels) {
  const BITMAPINFOHEADER header = TopDownHeader(width, height);
  BITMAPFILEHEADER file{};
  file.bfType = kBmpSignature;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(pixels.data()),
            static_cast<std::streamsize>(pixels.size() * sizeof(std::uint32_t)));
  return out.good();
}

}  // namespace

Pixels ScreenPixels(const RECT& rect) {
  const LONG width = rect.right - rect.left;
  const LONG height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return {};
  const Canvas canvas(width, height);
  if (!canvas.Usable()) return {};
  HDC screen = GetDC(nullptr);
  const bool copied =
      BitBlt(canvas.Dc(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return copied ? canvas.Read() : Pixels{};
}

Pixels DrawnIcon(HICON icon, SIZE size, COLORREF background) {
  const Canvas canvas(size.cx, size.cy);
  if (!canvas.Usable()) return {};
  const RECT whole{0, 0, size.cx, size.cy};
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(canvas.Dc(), &whole, brush);
  DeleteObject(brush);
  if (!DrawIconEx(canvas.Dc(), 0, 0, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL)) return {};
  return canvas.Read();
}

bool SaveWindowPicture(HWND window, const std::string& path) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return false;
  const Pixels pixels = ScreenPixels(rect);
  return !pixels.empty() && WriteBmp(path, rect.right - rect.left, rect.bottom - rect.top, pixels);
}

}  // namespace quillon::e2e
