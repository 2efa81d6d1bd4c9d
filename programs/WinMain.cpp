// The program: the real window, the platform pieces the core works through,
// the core AdminUtilityMain loaded from the registry, and the message loop
// until the window closes; or, asked on the command line, one of the commands
// that run with no window at all.
#include <windows.h>

#include <memory>
#include <string>

#include "model/AdminUtilityMain.h"
#include "app/win32/MainWindow.h"
#include "model/win32/UserNumberSeparators.h"
#include "settings/win32/Win32EnvironmentBroadcast.h"
#include "model/win32/Win32OpenFileDialog.h"
#include "model/win32/Win32Printers.h"
#include "commands/CommandLine.h"
#include "commands/win32/Commands.h"
#include "crypto/win32/Win32HelperLibrary.h"
#include "platform/MessageBoxes.h"
#include "platform/win32/Win32MessageBoxes.h"
#include "settings/win32/Win32Registry.h"

namespace quillon {
namespace {

void ReportNoWindow() {
  const std::string text =
      "The window could not be created (error " + std::to_string(GetLastError()) + ").";
  MessageBoxA(nullptr, text.c_str(), kRegistryFailureTitle, kMbOk | kMbIconExclamation);
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

// Exit codes: 0 done, 1 the export refused, or the export, the report or the
// help could not be written, 2 the command line is wrong.
int Main(HINSTANCE instance, const char* arguments, int showCommand) {
  const CommandLine command = ParseCommandLine(arguments);
  if (command.action == CommandLine::Action::Window) return Run(instance, showCommand);
  return RunCommand(command);
}

}  // namespace
}  // namespace quillon

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int showCommand) {
  return quillon::Main(instance, arguments ? arguments : "", showCommand);
}
