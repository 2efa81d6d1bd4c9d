// Stands in for quillon-admin.exe beside a copy of quillon-admin.com, to show
// what the companion hands the program it starts: the compatibility layers in
// its environment and its arguments, written to this program's own path with
// ".txt" added. With arguments it ends at once with 7, an exit code the real
// program never has; without, it takes three seconds, so a companion that
// waited for it would be seen waiting.
#include <windows.h>

#include <string>

int main() {
  std::string path(32768, '\0');
  path.resize(GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size())));
  std::string layers(32767, '\0');
  layers.resize(GetEnvironmentVariableA("__COMPAT_LAYER", layers.data(),
                                        static_cast<DWORD>(layers.size())));
  // The arguments: what follows the quoted or bare program name.
  const std::string line = GetCommandLineA();
  std::size_t start = line.starts_with('"') ? line.find('"', 1) + 1 : line.find(' ');
  if (start == std::string::npos || start > line.size()) start = line.size();
  const std::string arguments = line.substr(start);
  const bool window = arguments.find_first_not_of(" \t") == std::string::npos;
  if (window) Sleep(3000);

  const std::string text = "layers=" + layers + "\r\narguments=" + arguments + "\r\n";
  const HANDLE file = CreateFileA((path + ".txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return window ? 0 : 7;
}
