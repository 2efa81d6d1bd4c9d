// The library path: with PROCESSOR_ARCHITECTURE set to a 32-bit value in the
// prefix's system environment, the utility takes Windows for 32-bit and
// stores the passwords through quillonc.dll. With the library beside the
// program the passwords round-trip through it; with a copy of the program in
// a folder without it, the administrator is told plainly and nothing stored
// is lost.
#include <windows.h>

#include <initializer_list>
#include <utility>

#include "e2e/driver/RunFolders.h"
#include "e2e/scenarios/Scenario.h"
#include "e2e/scenarios/WindowEntries.h"
#include "e2e/scenarios/WindowState.h"

namespace quillon::e2e {
namespace {

using Id = ControlId;
using enum Location;

constexpr char k32BitArchitecture[] = "x86";
constexpr char kProgramName[] = "quillon-admin.exe";

bool Mentions(const MessageBoxView& view, const std::string& part) {
  return view.text.find(part) != std::string::npos;
}

class LibraryPath : public Scenario {
 protected:
  void SetUp() override {
    Scenario::SetUp();
    ASSERT_TRUE(registry::SetProcessorArchitecture(k32BitArchitecture));
  }
};

TEST_F(LibraryPath, PasswordsGoThroughTheHelperLibraryAndComeBack) {
  const std::vector<Entry> passwords = {{Id::txtUserPass, kUserPassword.plain},
                                        {Id::txtMasterPass, kMasterPassword.plain}};
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Enter(Window(), passwords));
  ASSERT_TRUE(Window().Press(Id::btnApply));
  std::optional<ModalBox> saved = NextBox("the confirmation after Apply");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->View(), Confirmation(kSettingsSaved));
  EXPECT_TRUE(Process().HasLoaded(kHelperLibrary)) << kHelperLibrary << " was never loaded";
  ASSERT_TRUE(saved->Confirm());
  ASSERT_TRUE(Process().WaitForEnd("Apply closes the window after its confirmation"));

  for (const auto& [name, password] : {std::pair{"default user password", kUserPassword},
                                       std::pair{"default master password", kMasterPassword}}) {
    const std::optional<RegValue> stored = registry::Read(kMachine, name);
    ASSERT_TRUE(stored) << name << " was not stored";
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_FALSE(stored->bytes.empty());
    EXPECT_NE(*stored, RegValue::Text(password.plain)) << name << " was stored in plain";
  }

  ASSERT_TRUE(Open());
  ExpectWindowShows(WithEntries(WindowState::AfterCleanLoad(), passwords), Window());
  EXPECT_TRUE(Process().HasLoaded(kHelperLibrary)) << "the load decoded without " << kHelperLibrary;
  EXPECT_TRUE(CancelAndEnd());
}

TEST_F(LibraryPath, WithoutTheLibraryTheAdministratorIsToldAndTheStoredPasswordStays) {
  const std::string folder = ScratchFolder() + "\\without-helper-library";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string program = folder + "\\" + kProgramName;
  ASSERT_TRUE(CopyFileA(UtilityPath().c_str(), program.c_str(), FALSE))
      << "could not copy the program to " << folder;
  DeleteFileA((folder + "\\" + kHelperLibrary).c_str());
  ASSERT_TRUE(registry::SeedText(kMachine, "default user password", kUserPassword.stored));

  ASSERT_TRUE(Launch({.program = program, .workingFolder = folder}));
  std::optional<ModalBox> undecodable =
      NextBox("the warning that a stored password cannot be shown");
  ASSERT_TRUE(undecodable);
  const MessageBoxView loadWarning = undecodable->View();
  EXPECT_EQ(loadWarning.caption, kAdministratorUtilityTitle);
  EXPECT_TRUE(loadWarning.exclamationIcon) << loadWarning;
  EXPECT_TRUE(Mentions(loadWarning, "default user password") &&
              Mentions(loadWarning, kHelperLibrary))
      << loadWarning;
  ASSERT_TRUE(undecodable->Confirm());
  ASSERT_TRUE(WaitForWindow());
  EXPECT_EQ(Window().Text(Id::txtUserPass), "");

  ASSERT_TRUE(Enter(Window(), std::vector<Entry>{{Id::txtMasterPass, kMasterPassword.plain}}));
  ASSERT_TRUE(Window().Press(Id::btnApply));
  std::optional<ModalBox> notSaved = NextBox("the warning that the master password was not saved");
  ASSERT_TRUE(notSaved);
  const MessageBoxView applyWarning = notSaved->View();
  EXPECT_TRUE(applyWarning.exclamationIcon) << applyWarning;
  EXPECT_TRUE(Mentions(applyWarning, "default master password") &&
              Mentions(applyWarning, kHelperLibrary))
      << applyWarning;
  ASSERT_TRUE(notSaved->Confirm());
  std::optional<ModalBox> summary = NextBox("the warning that not all settings were saved");
  ASSERT_TRUE(summary);
  EXPECT_TRUE(summary->View().text.starts_with("Not all settings were saved")) << summary->View();
  ASSERT_TRUE(summary->Confirm());

  EXPECT_TRUE(Window().IsOpen()) << "the window closed although a password was not saved";
  EXPECT_EQ(registry::Read(kMachine, "default user password"),
            RegValue::TextWithNul(kUserPassword.stored))
      << "the password that could not be shown was not left as stored";
  EXPECT_EQ(registry::Read(kMachine, "default master password"), std::nullopt);
  EXPECT_TRUE(CancelAndEnd());
}

}  // namespace
}  // namespace quillon::e2e
