// The installed printers through the spooler, and the one-page test print
// through GDI on the current printer.
#include "model/win32/Win32Printers.h"

#include <windows.h>
#include <winspool.h>

#include <cstring>

#include "platform/win32/SystemFunction.h"

namespace quillon {
namespace {

constexpr DWORD kEnumFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
// Level 4 reads the names from the registry without asking each driver.
constexpr DWORD kNamesOnlyLevel = 4;
constexpr char kDocumentName[] = "Quillon test";
constexpr char kFontFace[] = "Arial";
static_assert(sizeof kFontFace <= LF_FACESIZE);
constexpr int kPointsPerInch = 72;

constexpr char kSpooler[] = "winspool.drv";

std::string DefaultPrinterName() {
  static const auto getDefaultPrinter =
      SystemFunction<decltype(GetDefaultPrinterA)>(kSpooler, "GetDefaultPrinterA");
  if (!getDefaultPrinter) return {};
  DWORD size = 0;
  getDefaultPrinter(nullptr, &size);  // fails, telling the size it needs
  if (size == 0) return {};
  std::string name(size, '\0');
  if (!getDefaultPrinter(name.data(), &size)) return {};
  name.resize(std::strlen(name.c_str()));
  return name;
}

// Owns a device context on one printer.
class PrinterDc {
 public:
  explicit PrinterDc(const std::string& printerName)
      : dc_(CreateDCA("WINSPOOL", printerName.c_str(), nullptr, nullptr)) {}
  ~PrinterDc() {
    if (dc_) DeleteDC(dc_);
  }
  PrinterDc(const PrinterDc&) = delete;
  PrinterDc& operator=(const PrinterDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

HFONT CreatePointFont(HDC dc, int pointSize) {
  LOGFONTA font{};
  // A negative height asks for the em height, which is what a size in points
  // means; a positive one asks for the cell height and prints smaller text.
  font.lfHeight = -MulDiv(pointSize, GetDeviceCaps(dc, LOGPIXELSY), kPointsPerInch);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  std::memcpy(font.lfFaceName, kFontFace, sizeof kFontFace);
  return CreateFontIndirectA(&font);
}

// Owns a font while it is selected into a device context.
class SelectedFont {
 public:
  SelectedFont(HDC dc, int pointSize)
      : dc_(dc),
        font_(CreatePointFont(dc, pointSize)),
        previous_(font_ ? SelectObject(dc, font_) : nullptr) {}
  ~SelectedFont() {
    if (previous_) SelectObject(dc_, previous_);
    if (font_) DeleteObject(font_);
  }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;
  bool IsSelected() const { return previous_ != nullptr; }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_;
};

bool PrintLines(HDC dc, const std::vector<std::string>& lines) {
  TEXTMETRICA metrics{};
  if (!GetTextMetricsA(dc, &metrics)) return false;
  const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  int y = 0;
  for (const std::string& line : lines) {
    if (!TextOutA(dc, 0, y, line.data(), static_cast<int>(line.size()))) return false;
    y += lineHeight;
  }
  return true;
}

// One job of one page. Any failure once the job has started aborts it, so
// that no half-written job is left in the queue.
bool SpoolOnePage(HDC dc, const std::vector<std::string>& lines) {
  DOCINFOA document{};
  document.cbSize = sizeof document;
  document.lpszDocName = kDocumentName;
  if (StartDocA(dc, &document) <= 0) return false;
  const bool spooled =
      StartPage(dc) > 0 && PrintLines(dc, lines) && EndPage(dc) > 0 && EndDoc(dc) > 0;
  if (!spooled) AbortDoc(dc);
  return spooled;
}

}  // namespace

std::vector<std::string> Win32Printers::InstalledPrinterNames() {
  static const auto enumPrinters =
      SystemFunction<decltype(EnumPrintersA)>(kSpooler, "EnumPrintersA");
  if (!enumPrinters) return {};
  std::vector<PRINTER_INFO_4A> infos;
  DWORD needed = 0;
  DWORD count = 0;
  // A printer may be added between the size query and the fetch: ask again
  // until the buffer holds the whole list.
  while (!enumPrinters(kEnumFlags, nullptr, kNamesOnlyLevel, reinterpret_cast<LPBYTE>(infos.data()),
                       static_cast<DWORD>(infos.size() * sizeof(PRINTER_INFO_4A)), &needed,
                       &count)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    infos.resize((needed + sizeof(PRINTER_INFO_4A) - 1) / sizeof(PRINTER_INFO_4A));
  }
  std::vector<std::string> names;
  names.reserve(count);
  for (DWORD i = 0; i < count; ++i) names.emplace_back(infos[i].pPrinterName);
  return names;
}

void Win32Printers::MakeCurrent(const std::string& deviceName) { chosen_ = deviceName; }

std::string Win32Printers::CurrentPrinterName() const {
  return chosen_ ? *chosen_ : DefaultPrinterName();
}

bool Win32Printers::PrintDocument(const std::vector<std::string>& lines, int pointSize) {
  const std::string printer = CurrentPrinterName();
  if (printer.empty()) return false;
  const PrinterDc dc(printer);
  if (!dc.Get()) return false;
  const SelectedFont font(dc.Get(), pointSize);
  if (!font.IsSelected()) return false;
  return SpoolOnePage(dc.Get(), lines);
}

}  // namespace quillon
