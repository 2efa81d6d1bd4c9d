// Fills the fixed parts of the open-file request: the PDF filter, the two
// 257-character buffers, no initial folder and no default extension.
#include "model/win32/Win32OpenFileDialog.h"

#include <commdlg.h>

#include <array>

#include "platform/win32/SystemFunction.h"

namespace quillon {
namespace {

// The literal's own terminator supplies the second NUL that ends the list.
constexpr char kPdfFilter[] = "Portable Document Files (*.PDF)\0*.PDF\0";
// One character more than the capacity the dialog is told, so the buffer
// always ends in a NUL whatever the dialog writes.
constexpr DWORD kNameCapacity = 256;
using NameBuffer = std::array<char, kNameCapacity + 1>;

}  // namespace

std::optional<std::string> Win32OpenFileDialog::Choose(const OpenFileRequest& request) {
  NameBuffer file{};
  NameBuffer fileTitle{};
  OPENFILENAMEA ofn{};
  // The size without the trailing members: the macro has the right value in
  // both builds, while the literal 76 is the 32-bit value only and a 64-bit
  // build passing it gets no dialog at all.
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  ofn.hwndOwner = owner_;
  ofn.hInstance = GetModuleHandleA(nullptr);
  ofn.lpstrFilter = kPdfFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kNameCapacity;
  ofn.lpstrFileTitle = fileTitle.data();
  ofn.nMaxFileTitle = kNameCapacity;
  ofn.lpstrTitle = request.title.c_str();
  ofn.Flags = request.flags;
  static const auto getOpenFileName =
      SystemFunction<decltype(GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
  if (!getOpenFileName || !getOpenFileName(&ofn)) return std::nullopt;
  return std::string(file.data());
}

}  // namespace quillon
