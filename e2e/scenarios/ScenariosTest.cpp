// quillon-admin.exe as a whole under Wine, one scenario per row: the values
// in the registry before it starts, whether quillonc.dll lies beside it, the
// steps an administrator takes with what each must show, and the values in
// the registry at the end. One runner plays every row.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "crypto/win32/tests/KnownPasswords.h"
#include "e2e/driver/Driver.h"

namespace quillon::e2e {
namespace {

using Id = ControlId;

// The suite's print system (e2e/cups-quillon.sh) keeps its state here; each
// queue writes its PDF files into pdf-<queue> below it.
constexpr char kCupsStateOnHost[] = QUILLON_E2E_CUPS_STATE;
// CUPS turns a job into a PDF after the spooler has it; ghostscript takes a
// few seconds on a cold start.
constexpr DWORD kPrintPatienceMs = 120000;
// A new name (the picker does not ask for an existing file) with a blank in it.
constexpr char kTestFileName[] = "C:\\test run.pdf";

struct Step {
  std::string what;
  std::function<bool(Utility&)> done;
};

std::string Name(Id control) { return std::string(ControlName(control)); }

Step Opens() {
  return {"the window opens", [](Utility& run) { return run.WaitForWindow(); }};
}

Step Type(Id box, const std::string& text) {
  return {"type " + text + " into " + Name(box), [=](Utility& run) { return run.Type(box, text); }};
}

Step Press(Id button) {
  return {"press " + Name(button), [=](Utility& run) { return run.Press(button); }};
}

Step Box(const std::string& part) {
  return {"a message box saying " + part, [=](Utility& run) {
            const std::string text = run.ConfirmBox();
            EXPECT_NE(text.find(part), std::string::npos) << "the box said: " << text;
            return text.find(part) != std::string::npos;
          }};
}

Step ChooseFile(const std::string& title, const std::string& name) {
  return {"choose " + name + " in " + title,
          [=](Utility& run) { return run.ChooseFile(title, name); }};
}

Step Shows(Id box, const std::string& text) {
  return {Name(box) + " shows " + text, [=](Utility& run) {
            EXPECT_EQ(run.Text(box), text);
            return run.Text(box) == text;
          }};
}

Step EndsWithZero() {
  return {"the program ends with exit code 0", [](Utility& run) { return run.EndsWithZero(); }};
}

Step HeardEnvironmentChange() {
  return {"another program heard WM_SETTINGCHANGE Environment",
          [](Utility&) { return std::ranges::count(settingChangesHeard, "Environment") > 0; }};
}

// On the host, tried each second until it passes: exactly one PDF from the
// Quillon queue and none from the default queue, its text, and whether every
// word's box is as tall as a 24-point font makes it (pdftotext -bbox: yMin
// and yMax are fields 4 and 8). printf, since echo would take the file
// name's backslashes for escapes.
constexpr char kPrintCheck[] =
    "for try in $(seq 90); do out=$(set -- pdf-Quillon/*.pdf && [ $# = 1 ] && "
    "! ls pdf-Paper/*.pdf 2>/dev/null && pdftotext -layout \"$1\" - && pdftotext -bbox \"$1\" - | "
    "awk -F'\"' '/<word / { h = $8 - $4; if (h < 20 || h > 26) bad = 1 } END { exit bad }' && "
    "echo 24-point words) && break; sleep 1; done; printf '%s\\n' \"$out\"";

Step PrintsToQuillon(const std::string& line) {
  const std::string check = "cd '" + std::string(kCupsStateOnHost) + "' && " + kPrintCheck;
  return {"a 24-point PDF from the Quillon queue reading: " + line, [=](Utility&) {
            const std::string output = RunOnHost(check, kPrintPatienceMs);
            const bool printed = output.find(line) != std::string::npos &&
                                 output.find("24-point words") != std::string::npos;
            EXPECT_TRUE(printed) << "the host found:\n" << output;
            return printed;
          }};
}

struct Value {
  Key key;
  std::string name;
  std::optional<std::string> text;  // none: absent
};

struct Scenario {
  const char* name;
  const char* programOnHost;
  std::vector<Value> before;
  std::vector<Step> steps;
  std::vector<Value> after;
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

// The utility takes Windows for 32-bit, and the helper library's path, when
// the system environment's PROCESSOR_ARCHITECTURE says so.
const Value k32BitWindows{Key::kEnvironment, "PROCESSOR_ARCHITECTURE", "x86"};
const Value kStoredMasterPassword{Key::kMachine, "default master password", kMasterPassword.stored};
const Value kStoredUserPassword{Key::kMachine, "default user password", kUserPassword.stored};

// clang-format off
const Scenario kScenarios[] = {
    {"ApplySavesBroadcastsAndEnds", kUtilityOnHost, {},
     {Opens(), Type(Id::txtQuillonTEMP, "C:\\Temp2"), Type(Id::txtUserPass, kUserPassword.plain),
      Press(Id::btnApply), Box("Settings saved."), EndsWithZero(), HeardEnvironmentChange()},
     {{Key::kEnvironment, "QUILLONTEMP", "C:\\Temp2"}, kStoredUserPassword}},
    {"PasswordsGoThroughTheHelperLibrary", kUtilityOnHost, {k32BitWindows, kStoredMasterPassword},
     {Opens(), Shows(Id::txtMasterPass, kMasterPassword.plain),
      Type(Id::txtUserPass, kUserPassword.plain), Press(Id::btnApply), Box("Settings saved."),
      EndsWithZero()},
     {kStoredUserPassword, kStoredMasterPassword}},
    {"WithoutTheHelperLibrary", kUtilityAloneOnHost, {k32BitWindows, kStoredMasterPassword},
     {Box("quillonc.dll could not be loaded"), Opens(), Type(Id::txtUserPass, kUserPassword.plain),
      Press(Id::btnApply), Box("quillonc.dll could not be loaded"),
      Box("Not all settings were saved"), Press(Id::Command2), EndsWithZero()},
     {{Key::kMachine, kStoredUserPassword.name, std::nullopt}, kStoredMasterPassword}},
    {"APickedFileIsTestPrintedOnTheQuillonPrinter", kUtilityOnHost, {},
     {Opens(), Press(Id::btnSelectPDFFileName), ChooseFile("Select the PDF file", kTestFileName),
      Press(Id::btnTestFile), Box(kTestFileName + std::string("\" created.")),
      PrintsToQuillon(std::string("Quillon test to \"") + kTestFileName + "\""),
      Press(Id::Command2), EndsWithZero()}, {}},
};
// clang-format on

// What Wine writes for this prefix's Windows, put back before each row since
// the 32-bit rows change it.
std::string ProcessorArchitecture() {
  SYSTEM_INFO system{};
  GetNativeSystemInfo(&system);
  return system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL ? "x86" : "AMD64";
}

class EndToEnd : public ::testing::TestWithParam<Scenario> {
 protected:
  void SetUp() override {
    ForgetProductValues();
    // The print system outlives a run of the suite: the suite runs again in
    // the 32-bit Windows prefix, and each row must see only its own PDF files.
    RunOnHost("rm -f '" + std::string(kCupsStateOnHost) + "'/pdf-*/*.pdf");
    ListenForSettingChanges();
    ASSERT_TRUE(Store(Key::kEnvironment, "PROCESSOR_ARCHITECTURE", ProcessorArchitecture()));
    for (const Value& value : GetParam().before)
      ASSERT_TRUE(Store(value.key, value.name, *value.text));
  }
};

TEST_P(EndToEnd, Scenario) {
  {
    Utility utility(GetParam().programOnHost);
    for (const Step& step : GetParam().steps) {
      ASSERT_TRUE(step.done(utility)) << "failed: " << step.what;
    }
  }
  for (const Value& value : GetParam().after) {
    EXPECT_EQ(Stored(value.key, value.name), value.text) << value.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Administrator, EndToEnd, ::testing::ValuesIn(kScenarios),
                         [](const auto& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace quillon::e2e
