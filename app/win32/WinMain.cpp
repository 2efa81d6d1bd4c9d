// The program: the real window, the platform pieces the core works through,
// the core AdminUtilityMain loaded from the registry, and the message loop
// until the window closes. It reads no command line.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/AdminUtilityMain.h"
#include "app/win32/MainWindow.h"
#include "app/win32/Win32EnvironmentBroadcast.h"
#include "app/win32/Win32OpenFileDialog.h"
#include "app/win32/Win32Printers.h"
#include "crypto/basBlfArrays.h"
#include "crypto/win32/Win32HelperLibrary.h"
#include "platform/MessageBoxes.h"
#include "platform/win32/Win32MessageBoxes.h"
#include "settings/win32/Win32Registry.h"

namespace quillon {
namespace {

std::string LocaleText(LCTYPE item) {
  std::array<char, 16> text{};
  const int length =
      GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text.data(), static_cast<int>(text.size()));
  return length > 0 ? std::string(text.data()) : std::string();
}

// A separator the platform will not tell stays empty, and an empty separator
// is never taken for one.
NumberSeparators UserNumberSeparators() {
  return {.decimal = LocaleText(LOCALE_SDECIMAL), .group = LocaleText(LOCALE_STHOUSAND)};
}

void ReportNoWindow() {
  const std::string text =
      "The window could not be created (error " + std::to_string(GetLastError()) + ").";
  MessageBoxA(nullptr, text.c_str(), kAdminUtilityTitle, kMbOk | kMbIconExclamation);
}

int Run(HINSTANCE instance, int showCommand) {
  const std::unique_ptr<MainWindow> window = MainWindow::Create(instance);
  if (!window) {
    ReportNoWindow();
    return 1;
  }
  // Message boxes and the file dialog are modal to the window.
  Win32MessageBoxes messageBoxes;
  messageBoxes.SetOwner(window->Handle());
  // The cipher checks its constant tables whenever a key is set up.
  SetTableCheckMessageBoxes(&messageBoxes);
  Win32OpenFileDialog openFileDialog;
  openFileDialog.SetOwner(window->Handle());
  Win32Registry registry;
  Win32Printers printers;
  Win32EnvironmentBroadcast environmentBroadcast;
  Win32HelperLibrary helperLibrary;

  AdminUtilityMain core({.controls = *window,
                         .openFileDialog = openFileDialog,
                         .numberSeparators = UserNumberSeparators(),
                         .registry = registry,
                         .messageBoxes = messageBoxes,
                         .printers = printers,
                         .environmentBroadcast = environmentBroadcast,
                         .helperLibrary = helperLibrary});
  window->SetClickListener([&core](ControlId button) { core.Click(button); });

  // Filled before it is first shown, so the window opens as loaded.
  core.Form_Load();
  if (!window->Show(showCommand)) {
    ReportNoWindow();
    return 1;
  }
  window->RunUntilClosed();
  return 0;
}

}  // namespace
}  // namespace quillon

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  return quillon::Run(instance, showCommand);
}
