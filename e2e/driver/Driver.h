#pragma once
// The end-to-end driver: runs quillon-admin.exe under Wine and works it from
// outside as an administrator would, seeds and reads the real registry,
// hears the broadcasts another program's window hears, and asks the host
// (Linux) what only it can tell. Every wait is bounded and every message to
// the program is sent with a time-out, so a program stuck on a modal dialog
// fails its scenario instead of hanging the run.
#include <windows.h>
// After windows.h, which these need.
#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/win32/MainWindow.h"
#include "e2e/driver/WindowSearch.h"

namespace quillon::e2e {

// Long enough for a cold Wine to start a program and draw its window.
inline constexpr DWORD kPatienceMs = 20000;

// Host paths the build passes in: the program as built, with quillonc.dll
// beside it, a copy of it in a folder without, and a folder for the driver.
inline constexpr char kUtilityOnHost[] = QUILLON_E2E_UTILITY;
inline constexpr char kUtilityAloneOnHost[] = QUILLON_E2E_UTILITY_ALONE;
inline constexpr char kWorkFolderOnHost[] = QUILLON_E2E_WORK_FOLDER;

// Polls `done` while answering this thread's messages (the broadcasts among
// them); false when it still does not hold after `patienceMs`.
inline bool WaitFor(const std::function<bool()>& done, DWORD patienceMs = kPatienceMs) {
  for (const ULONGLONG deadline = GetTickCount64() + patienceMs; !done(); Sleep(20)) {
    if (GetTickCount64() >= deadline) return false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  return true;
}

inline LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &answer);
  return static_cast<LRESULT>(answer);
}

inline std::string TextOf(HWND window) {
  std::array<char, 1024> text{};
  Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

// Presses a dialog's button, and waits until the dialog is gone.
inline bool CloseDialog(HWND dialog, int button) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  return WaitFor([dialog] { return !IsWindow(dialog); });
}

// A fresh prefix shows the host's root directory as drive Z:, and Windows
// takes forward slashes too.
inline std::string DosPath(const std::string& hostPath) { return "Z:" + hostPath; }

// One run of the program, ended by force if it still runs at the end.
class Utility {
 public:
  // `programOnHost` is a host path.
  explicit Utility(const std::string& programOnHost) {
    const std::string program = DosPath(programOnHost);
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    EXPECT_TRUE(CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process_))
        << program;
  }
  ~Utility() {
    TerminateProcess(process_.hProcess, 1);  // fails harmlessly once it has ended
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  Utility(const Utility&) = delete;
  Utility& operator=(const Utility&) = delete;

  // The main window shown with every control built.
  bool WaitForWindow() {
    return WaitFor([this] {
      window_ = VisibleWindowOf(process_.dwProcessId, kMainWindowClassName);
      return window_ && EveryControlBuilt(window_);
    });
  }

  std::string Text(ControlId id) const { return TextOf(Control(id)); }
  bool Type(ControlId box, const std::string& text) {
    return ShowPageOf(box) &&
           Ask(Control(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  // Posted: a sent click would not return while the box it opens is up.
  bool Press(ControlId button) {
    return ShowPageOf(button) && PostMessageA(Control(button), BM_CLICK, 0, 0);
  }

  // The text of the next message box, once it is confirmed with OK; empty
  // when none comes or it does not close.
  std::string ConfirmBox() {
    const HWND box = WaitForDialog([](HWND dialog) { return GetDlgItem(dialog, 0xFFFF); });
    const std::string text = box ? TextOf(GetDlgItem(box, 0xFFFF)) : "";
    return box && CloseDialog(box, IDOK) ? text : "";
  }

  // The open-file dialog titled `title`, owned by the main window and
  // offering the PDF filter, given `name` and closed with Open.
  bool ChooseFile(const std::string& title, const std::string& name) {
    const HWND dialog = WaitForDialog([&](HWND candidate) { return TextOf(candidate) == title; });
    if (!dialog) return false;
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), window_) << "the dialog is not modal to the window";
    EXPECT_EQ(TextOf(GetDlgItem(dialog, cmb1)), "Portable Document Files (*.PDF)");
    // The name box: a combo box in the Explorer-style dialog, an edit in the older one.
    for (const int nameBox : {cmb13, edt1}) {
      Ask(GetDlgItem(dialog, nameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    return CloseDialog(dialog, IDOK);
  }

  // Whether the program ends by itself, with exit code 0.
  bool EndsWithZero() {
    DWORD code = STILL_ACTIVE;
    const auto ended = [&] {
      return GetExitCodeProcess(process_.hProcess, &code) && code != STILL_ACTIVE;
    };
    return WaitFor(ended) && code == 0;
  }

 private:
  HWND Control(ControlId id) const { return GetDlgItem(window_, DialogIdOf(id)); }

  // Without TCS_BUTTONS, moving the tabs' focus selects the tab and tells the
  // window, as a click on it does. A control hidden or greyed there cannot be used.
  bool ShowPageOf(ControlId id) {
    const auto page = DefinitionOf(id).page.value_or(kTabControl.initialPage);
    Ask(GetDlgItem(window_, kTabControlDialogId), TCM_SETCURFOCUS, static_cast<WPARAM>(page));
    const bool usable = IsWindowVisible(Control(id)) && IsWindowEnabled(Control(id));
    EXPECT_TRUE(usable) << ControlName(id) << " is hidden or greyed on its page";
    return usable;
  }

  HWND WaitForDialog(const std::function<bool(HWND)>& wanted) {
    HWND dialog = nullptr;
    WaitFor([&] {
      return (dialog = VisibleWindowOf(process_.dwProcessId, "#32770", wanted)) != nullptr;
    });
    return dialog;
  }

  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// The registry keys scenarios look at: the machine product key in the
// default (32-bit) view, the system environment, and the user product key.
enum class Key { kMachine, kEnvironment, kUser };

struct KeyPlace {
  HKEY root;
  const char* path;
  REGSAM view;
};

inline const KeyPlace kKeyPlaces[] = {  // by Key
    {HKEY_LOCAL_MACHINE, "Software\\Marrowby\\Quillon", KEY_WOW64_32KEY},
    {HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", 0},
    {HKEY_CURRENT_USER, "Software\\Marrowby\\Quillon", 0}};

// The key, created when missing and kept open for the run: the utility never
// deletes a key.
inline HKEY Open(Key key) {
  static std::array<HKEY, std::size(kKeyPlaces)> opened{};
  const KeyPlace& place = kKeyPlaces[static_cast<int>(key)];
  HKEY& handle = opened[static_cast<std::size_t>(key)];
  if (handle) return handle;
  RegCreateKeyExA(place.root, place.path, 0, nullptr, 0, KEY_ALL_ACCESS | place.view, nullptr,
                  &handle, nullptr);
  return handle;
}

inline bool Store(Key key, const std::string& name, const std::string& text) {
  return RegSetValueExA(Open(key), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

// A text value up to its first NUL; none when absent.
inline std::optional<std::string> Stored(Key key, const std::string& name) {
  std::array<char, 4096> text{};
  DWORD size = text.size() - 1;
  if (RegQueryValueExA(Open(key), name.c_str(), nullptr, nullptr,
                       reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(text.data());
}

// Removes every value the utility could have left at the product keys, and
// QUILLONTEMP.
inline void ForgetProductValues() {
  RegDeleteTreeA(Open(Key::kMachine), nullptr);
  RegDeleteTreeA(Open(Key::kUser), nullptr);
  RegDeleteValueA(Open(Key::kEnvironment), "QUILLONTEMP");
}

// The sections of the WM_SETTINGCHANGE broadcasts that a hidden top-level
// window of the driver received, as any other program's window would.
inline std::vector<std::string> settingChangesHeard;

inline LRESULT CALLBACK HearSettingChange(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTINGCHANGE && lParam) {
    settingChangesHeard.emplace_back(reinterpret_cast<const char*>(lParam));
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Makes the window on first use, and forgets what it heard before.
inline void ListenForSettingChanges() {
  static const HWND listener = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HearSettingChange;
    windowClass.lpszClassName = "QuillonE2eListener";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, windowClass.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                           nullptr, nullptr, nullptr, nullptr);
  }();
  EXPECT_NE(listener, nullptr);
  settingChangesHeard.clear();
}

// What a /bin/sh command line run on the host wrote to its standard output
// and error; empty when it did not finish in time. Wine starts a host program
// from CreateProcess but gives no handle to wait on: the command leaves its
// output in a file, renamed into place only when complete.
inline std::string RunOnHost(const std::string& command, DWORD patienceMs = kPatienceMs) {
  static int runs = 0;
  const std::string hostStem = std::string(kWorkFolderOnHost) + "/host-" + std::to_string(++runs);
  const std::string output = DosPath(hostStem + ".out");
  DeleteFileA(output.c_str());  // left by an earlier run of the suite
  std::ofstream(DosPath(hostStem + ".sh"), std::ios::binary)
      << "{ " << command << "\n} >'" << hostStem << ".part' 2>&1\nmv '" << hostStem << ".part' '"
      << hostStem << ".out'\n";
  // Split by Windows rules, in which single quotes do not quote.
  std::string commandLine = "/bin/sh " + hostStem + ".sh";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started) ||
      !WaitFor([&] { return GetFileAttributesA(output.c_str()) != INVALID_FILE_ATTRIBUTES; },
               patienceMs)) {
    return {};
  }
  std::ostringstream contents;
  contents << std::ifstream(output, std::ios::binary).rdbuf();
  return contents.str();
}

}  // namespace quillon::e2e
