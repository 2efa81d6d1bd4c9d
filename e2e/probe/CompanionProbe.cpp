// Stands in for quillon-admin.exe beside a copy of quillon-admin.com, to show
// what the companion hands the window it starts: the compatibility layers in
// its environment, written to this program's own path with ".txt" added. It
// takes three seconds first, so a companion that waited for it would be seen
// waiting.
#include <windows.h>

#include <string>

int main() {
  Sleep(3000);
  std::string path(32768, '\0');
  path.resize(GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size())));
  std::string layers(32767, '\0');
  layers.resize(GetEnvironmentVariableA("__COMPAT_LAYER", layers.data(),
                                        static_cast<DWORD>(layers.size())));
  const std::string text = "layers=" + layers + "\r\n";
  const HANDLE file = CreateFileA((path + ".txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}
