// Fault injection: for every k, the k-th registry write, delete or delete's
// open of an Apply pass fails. Whatever fails, every setting must still be
// found by a load as its old value or its new one, never as neither (a copy
// it had elsewhere, or nothing), and the administrator must have been told
// that not everything was saved, with the window left open.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/tests/SubstitutePlatform.h"

namespace quillon {
namespace {

using Id = ControlId;

// The settings as a load finds them: the names of one setting in the order
// the load tries them.
const std::vector<std::vector<std::string>> kSettings = {
    {"Default Path"}, {"PDFDefaultWatermarkFile"}, {"PDFFileName", "PDFDefaultFileName"},
    {"PDFAutoNameContentSearchWord"},
    {"Post Action", "Post Action Nowait", "Default Post Action", "Default Post Action Nowait"},
    {"PDFMailDefaultSubject"}, {"PDFMailDefaultRecipients"}, {"PDFMailDefaultCCRecipients"},
    {"PDFMailDefaultNote"}, {"PDFMailResolveNames"}, {"PDFPrependFile", "PDFAppendFile"},
    {"PDFDefaultAppendFile"}, {"PDFDefaultPrependFile"}, {"PDFWatermarkFile"},
    {"PDFExcludeWatermarkPre"}, {"PDFExcludeWatermarkPost"}, {"default user password"},
    {"default master password"}, {"default options"}, {"default options mask"},
    {"default permissions"}, {"default permissions mask"}, {"disabled options"},
    {"disable autoname keyboard check"}, {"PDFPreview"}, {"auto merge interval"},
    {"append error retry count"}, {"copy error retry count"}, {"rename error retry count"},
    {"delete error retry count"}, {"file options"}, {"persistent"}};

const std::pair<Location, RegistryView> kLookup[] = {
    {kLegacyUserKey, RegistryView::Default},
    {kUserProductKey, RegistryView::Default},
    {kMachineProductKey, RegistryView::Wow64_64},
    {kMachineProductKey, RegistryView::Default}};

// What a load finds of each setting, then the two values kept in one place.
std::vector<std::optional<StoredValue>> Found(const SubstituteRegistry& registry) {
  std::vector<std::optional<StoredValue>> found;
  for (const std::vector<std::string>& names : kSettings) {
    std::optional<StoredValue> first;
    for (const std::string& name : names) {
      for (const auto& [at, view] : kLookup) {
        if (!first) first = registry.FindValue(at.root, at.path, view, name);
      }
    }
    if (first) first->path.clear();  // the same value, wherever it is
    found.push_back(first);
  }
  found.push_back(registry.FindValue(kEnvironmentKey.root, kEnvironmentKey.path,
                                     RegistryView::Default, "QUILLONTEMP"));
  found.push_back(registry.FindValue(kSaveDialogKey.root, kSaveDialogKey.path,
                                     RegistryView::Default, "file options"));
  return found;
}

// A different old value at every place each setting can live in.
void SeedOldValues(Session& s) {
  RegistryAccess access(s.registry, s.messages);
  StoredPasswordCodec codec(access, s.helperLibrary);
  std::int32_t number = 100;
  for (const std::vector<std::string>& names : kSettings) {
    for (const std::string& name : names) {
      for (const auto& [at, view] : kLookup) {
        const std::string text = name + " " + std::to_string(++number);
        if (name.find("password") != std::string::npos) {
          PutText(s.registry, at, name, codec.EncryptPassword(std::string(kStoredPasswordKey), text).text,
                  view);
        } else if (name.starts_with("PDF") || name.find("Path") != std::string::npos ||
                   name.find("Action") != std::string::npos) {
          PutText(s.registry, at, name, text, view);
        } else {
          PutNumber(s.registry, at, name, number, view);
        }
      }
    }
  }
  s.registry.PutValue(kMachineProductKey.root, kMachineProductKey.path, RegistryView::Default,
                      "PDFMailResolveNames", kRegDword, DwordBytes(1));
  PutNumber(s.registry, kSaveDialogKey, "file options", 1);
  PutText(s.registry, kEnvironmentKey, "QUILLONTEMP", "C:\\OldTemp");
}

// New values in every control.
void EditEverything(ControlModel& c, bool forAllUsers) {
  for (const Id box : {Id::txtDefaultPath, Id::txtDefaultWatermarkFile, Id::txtPDFFileName,
                       Id::txtAutoNameContentSearchWord, Id::txtPostAction, Id::txtMailSubject,
                       Id::txtMailAddress, Id::txtMailCCAddress, Id::txtMailBody, Id::txtMergeFile,
                       Id::txtWatermarkFile, Id::txtQuillonTEMP, Id::txtUserPass,
                       Id::txtMasterPass}) {
    c.SetText(box, "new " + std::string(ControlName(box)));
  }
  c.SetText(Id::txtExcludeWatermarkPre, "7");
  c.SetText(Id::txtExcludeWatermarkPost, "8");
  c.SetText(Id::txtAutoMergeInterval, "2500");
  c.SetText(Id::txtCopyErrorRetryCount, "3");
  c.SetText(Id::cboMergeCommand, "Prepend");
  c.SetText(Id::cboWatermarkCommand, "Foreground");
  c.SetText(Id::cboEncryptLevel, "128 Bit Encryption");
  c.SetText(Id::cboCopyPermission, "Prevent copying");
  c.SetValue(Id::chkPostActionWait, 0);
  c.SetValue(Id::chkResolveNames, 0);
  c.SetValue(Id::chkUseQuillonDestkopPreview, 1);
  c.SetValue(Id::chkPrintPDF, 1);
  c.SetValue(Id::chkApplyToAllUsers, forAllUsers ? 1 : 0);
}

struct Outcome {
  std::vector<std::optional<StoredValue>> found;
  std::vector<RecordedMessage> messages;
  bool closed;
};

// Seeds, loads, edits, then presses Apply with the k-th call of a kind
// failing (k = 0: none fails).
Outcome ApplyWithFailure(bool forAllUsers, RegistryCall call, int k,
                         std::vector<std::optional<StoredValue>>* old = nullptr) {
  Session s(Windows::Bits64);
  SeedOldValues(s);
  if (old) *old = Found(s.registry);
  AdminUtilityMain& window = s.Open();
  EditEverything(s.controls, forAllUsers);
  s.messages.shown.clear();
  if (k > 0) s.registry.FailCall(call, k, kErrorAccessDenied);
  window.btnApply_Click();
  return {Found(s.registry), s.messages.shown,
          !s.controls.windowCalls.empty() &&
              s.controls.windowCalls.back() == ControlModel::WindowCall::kClose};
}

// The calls of a kind that one pass makes, without the button's removal of
// "PDFTitle" after it.
int CallsOfOnePass(bool forAllUsers, RegistryCall call) {
  Session s(Windows::Bits64);
  SeedOldValues(s);
  AdminUtilityMain& window = s.Open();
  EditEverything(s.controls, forAllUsers);
  const int before = s.registry.CallCount(call);
  window.ApplySettings();
  return s.registry.CallCount(call) - before;
}

TEST(FaultInjection, EverySettingKeepsItsOldValueOrGetsItsNewOne) {
  for (const bool forAllUsers : {false, true}) {
    std::vector<std::optional<StoredValue>> old;
    const Outcome clean = ApplyWithFailure(forAllUsers, RegistryCall::SetValue, 0, &old);
    ASSERT_TRUE(clean.closed);
    ASSERT_NE(clean.found, old) << "the edits must change the settings";

    for (const RegistryCall call :
         {RegistryCall::SetValue, RegistryCall::DeleteValue, RegistryCall::OpenKey}) {
      const int calls = CallsOfOnePass(forAllUsers, call);
      ASSERT_GT(calls, 0);
      for (int k = 1; k <= calls; ++k) {
        SCOPED_TRACE(testing::Message() << "call kind " << static_cast<int>(call) << ", k = " << k
                                        << (forAllUsers ? ", for all users" : ", for the user"));
        const Outcome failed = ApplyWithFailure(forAllUsers, call, k);
        for (std::size_t i = 0; i < failed.found.size(); ++i) {
          EXPECT_TRUE(failed.found[i] == old[i] || failed.found[i] == clean.found[i])
              << (i < kSettings.size() ? kSettings[i].front() : "environment or save dialog");
        }
        ASSERT_FALSE(failed.messages.empty());
        EXPECT_TRUE(failed.messages.back().text.starts_with("Not all settings were saved"));
        EXPECT_FALSE(failed.closed);
      }
    }
  }
}

}  // namespace
}  // namespace quillon
