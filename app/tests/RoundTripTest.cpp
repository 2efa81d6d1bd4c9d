// Round trips over the whole catalogue: each setting stored at each place it
// can live in, loaded, applied with the Apply button, and the registry
// compared with where the catalogue says the value belongs, on the 32-bit
// and the 64-bit model.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "app/ControlTable.h"
#include "app/tests/SubstitutePlatform.h"

namespace quillon {
namespace {

using Id = ControlId;

enum class Place { Legacy, User, Machine, Machine64, Environment, SaveDialog };

struct Seed {
  std::string name;
  std::variant<std::string, std::int32_t> data;
};

struct RoundTrip {
  std::vector<Seed> seeds;  // all stored at the place under test
  std::vector<Place> places;
  bool marked;  // found only at the machine key, the setting is applied for all users
  Id shownIn;
  std::string shown;  // a check box's value as text
  // Beyond the eight values every pass writes; "@" stands for the scope.
  std::vector<std::string> stored;
  // The eight, where they differ from an untouched window's.
  std::vector<std::string> eight = {};
};

constexpr Place kAnyProduct[] = {Place::Legacy, Place::User, Place::Machine, Place::Machine64};
const std::vector<Place> kUserFirstText = {Place::Legacy, Place::User, Place::Machine};
const std::vector<Place> kUserFirstNumber(std::begin(kAnyProduct), std::end(kAnyProduct));
const std::vector<Place> kMachineText = {Place::Machine};
const std::vector<Place> kMachineNumber = {Place::Machine, Place::Machine64};

const RoundTrip kRoundTrips[] = {
    {{{"Default Path", "C:\\Out"}}, kMachineText, false, Id::txtDefaultPath, "C:\\Out",
     {"machine:Default Path=\"C:\\Out\""}},
    {{{"PDFDefaultWatermarkFile", "w.pdf"}}, kMachineText, false, Id::txtDefaultWatermarkFile,
     "w.pdf", {"machine:PDFDefaultWatermarkFile=\"w.pdf\""}},
    {{{"PDFFileName", "C:\\a.pdf"}}, kUserFirstText, true, Id::txtPDFFileName, "C:\\a.pdf",
     {"@:PDFDefaultFileName=\"C:\\a.pdf\""}},
    {{{"PDFDefaultFileName", "C:\\a.pdf"}}, kUserFirstText, true, Id::txtPDFFileName, "C:\\a.pdf",
     {"@:PDFDefaultFileName=\"C:\\a.pdf\""}},
    {{{"PDFAutoNameContentSearchWord", "Invoice"}}, kUserFirstText, true,
     Id::txtAutoNameContentSearchWord, "Invoice", {"@:PDFAutoNameContentSearchWord=\"Invoice\""}},
    {{{"Post Action", "run"}}, kUserFirstText, true, Id::txtPostAction, "run",
     {"@:Default Post Action=\"run \"%s\"\""}},
    {{{"Post Action Nowait", "run"}}, kUserFirstText, true, Id::chkPostActionWait, "0",
     {"@:Default Post Action Nowait=\"run \"%s\"\""}},
    {{{"Default Post Action", "run \"%s\""}}, kUserFirstText, true, Id::txtPostAction,
     "run \"%s\"", {"@:Default Post Action=\"run \"%s\"\""}},
    {{{"Default Post Action Nowait", "run"}}, kUserFirstText, true, Id::txtPostAction, "run",
     {"@:Default Post Action Nowait=\"run \"%s\"\""}},
    {{{"PDFMailDefaultSubject", "Hi"}}, kMachineText, false, Id::txtMailSubject, "Hi",
     {"machine:PDFMailDefaultSubject=\"Hi\""}},
    {{{"PDFMailDefaultRecipients", "a@x"}}, kMachineText, false, Id::txtMailAddress, "a@x",
     {"machine:PDFMailDefaultRecipients=\"a@x\""}},
    {{{"PDFMailDefaultCCRecipients", "c@x"}}, kMachineText, false, Id::txtMailCCAddress, "c@x",
     {"machine:PDFMailDefaultCCRecipients=\"c@x\""}},
    {{{"PDFMailDefaultNote", "Body"}}, kMachineText, false, Id::txtMailBody, "Body",
     {"machine:PDFMailDefaultNote=\"Body\""}},
    {{{"PDFMailResolveNames", 1}}, kUserFirstNumber, false, Id::chkResolveNames, "1", {},
     {"machine:PDFMailResolveNames=1"}},
    {{{"PDFAppendFile", "m.pdf"}}, kUserFirstText, true, Id::txtMergeFile, "m.pdf",
     {"@:PDFAppendFile=\"m.pdf\"", "@:persistent=1"}},
    {{{"PDFPrependFile", "m.pdf"}}, kUserFirstText, true, Id::cboMergeCommand, "Prepend",
     {"@:PDFPrependFile=\"m.pdf\"", "@:persistent=1"}},
    {{{"PDFDefaultAppendFile", "m.pdf"}, {"PDFDefaultPrependFile", "m.pdf"}}, kUserFirstNumber,
     false, Id::txtMergeFile, "", {}},
    {{{"PDFWatermarkFile", "w.pdf"}}, kUserFirstText, true, Id::txtWatermarkFile, "w.pdf",
     {"@:PDFWatermarkFile=\"w.pdf\"", "@:file options=2048", "@:persistent=1"}},
    {{{"PDFWatermarkFile", "w.pdf"}, {"file options", 0x200}}, kUserFirstText, true,
     Id::cboWatermarkCommand, "Foreground",
     {"@:PDFWatermarkFile=\"w.pdf\"", "@:file options=512", "@:persistent=1"}},
    {{{"file options", 0x200}}, kUserFirstNumber, true, Id::cboWatermarkCommand, "Foreground", {}},
    {{{"PDFExcludeWatermarkPre", 2}}, kUserFirstNumber, true, Id::txtExcludeWatermarkPre, "2",
     {"@:PDFExcludeWatermarkPre=2", "@:persistent=1"}},
    {{{"PDFExcludeWatermarkPost", 3}}, kUserFirstNumber, true, Id::txtExcludeWatermarkPost, "3",
     {"@:PDFExcludeWatermarkPost=3", "@:persistent=1"}},
    {{{"QUILLONTEMP", "%TEMP%\\Q"}}, {Place::Environment}, false, Id::txtQuillonTEMP,
     "%TEMP%\\Q", {"environment:QUILLONTEMP=\"%TEMP%\\Q\""}},
    {{{"default options", 0x10008}, {"default options mask", 0x12018}}, kMachineNumber, false,
     Id::cboEncryptLevel, "40 Bit Encryption", {},
     {"machine:default options=65544", "machine:default options mask=73752"}},
    {{{"default permissions", 0x4}, {"default permissions mask", 0x52C}}, kMachineNumber, false,
     Id::cboModifyPermission, "Prevent modification", {},
     {"machine:default permissions=4", "machine:default permissions mask=1324"}},
    {{{"disabled options", 0x10000001}}, kMachineNumber, false, Id::chkDocumentAuthor, "1", {},
     {"machine:disabled options=268435457"}},
    {{{"disable autoname keyboard check", 1}}, kUserFirstNumber, false,
     Id::chkDisableAutoNameKeyboardCheck, "1", {},
     {"machine:disable autoname keyboard check=1"}},
    {{{"PDFPreview", 2}}, kUserFirstNumber, false, Id::chkUseQuillonDestkopPreview, "2", {},
     {"machine:PDFPreview=2"}},
    {{{"auto merge interval", 3000}}, kUserFirstNumber, false, Id::txtAutoMergeInterval, "3000",
     {"machine:auto merge interval=3000"}},
    {{{"append error retry count", 0}}, kUserFirstNumber, false, Id::txtAppendErrorRetryCount, "0",
     {"machine:append error retry count=0"}},
    {{{"copy error retry count", 4}}, kUserFirstNumber, false, Id::txtCopyErrorRetryCount, "4",
     {"machine:copy error retry count=4"}},
    {{{"rename error retry count", -5}}, kUserFirstNumber, false, Id::txtRenameErrorRetryCount,
     "-5", {"machine:rename error retry count=-5"}},
    {{{"delete error retry count", 10}}, kUserFirstNumber, false, Id::txtDeleteErrorRetryCount,
     "10", {}},
    {{{"persistent", 1}, {"PDFTitle", "T"}}, kUserFirstNumber, false, Id::chkPersistent, "1", {}},
    {{{"file options", 0x800}}, {Place::SaveDialog}, false, Id::chkPrintPDF, "0",
     {"savedialog:file options=2048"}},
};

void SeedAt(SubstituteRegistry& registry, Place place, const Seed& seed) {
  const Location& at = place == Place::Legacy        ? kLegacyUserKey
                       : place == Place::User        ? kUserProductKey
                       : place == Place::Environment ? kEnvironmentKey
                       : place == Place::SaveDialog  ? kSaveDialogKey
                                                     : kMachineProductKey;
  const RegistryView view = place == Place::Machine64 ? RegistryView::Wow64_64 : RegistryView::Default;
  if (const auto* text = std::get_if<std::string>(&seed.data)) {
    PutText(registry, at, seed.name, *text, view);
  } else {
    PutNumber(registry, at, seed.name, std::get<std::int32_t>(seed.data), view);
  }
}

std::vector<std::string> Expected(const RoundTrip& trip, Place place) {
  const bool forAllUsers = trip.marked && (place == Place::Machine || place == Place::Machine64);
  std::vector<std::string> stored = trip.stored;
  for (std::string& line : stored) {
    if (line.starts_with("@")) line.replace(0, 1, forAllUsers ? "machine" : "user");
  }
  return AfterPass(trip.eight, stored);
}

TEST(RoundTrip, EverySettingFromEveryPlaceItCanLiveIn) {
  for (const Windows windows : {Windows::Bits32, Windows::Bits64}) {
    for (const RoundTrip& trip : kRoundTrips) {
      for (const Place place : trip.places) {
        if (place == Place::Machine64 && windows == Windows::Bits32) continue;
        SCOPED_TRACE(testing::Message() << trip.seeds.front().name << " at place "
                                        << static_cast<int>(place) << " on "
                                        << (windows == Windows::Bits32 ? "32" : "64") << " bits");
        Session s(windows);
        for (const Seed& seed : trip.seeds) SeedAt(s.registry, place, seed);
        AdminUtilityMain& window = s.Open();
        const bool box = DefinitionOf(trip.shownIn).kind == ControlKind::kCheckBox;
        EXPECT_EQ(box ? std::to_string(s.controls.Value(trip.shownIn)) : s.controls.Text(trip.shownIn),
                  trip.shown);
        window.Click(Id::btnApply);
        EXPECT_EQ(Describe(s.registry), Expected(trip, place));
        ASSERT_EQ(s.messages.shown.size(), 1u);
        EXPECT_EQ(s.messages.shown[0].text, "Settings saved.");
      }
    }
  }
}

TEST(RoundTrip, PasswordsComeBackAndTheirOtherCopiesStay) {
  for (const Windows windows : {Windows::Bits32, Windows::Bits64}) {
    for (const Place place : {Place::Legacy, Place::User, Place::Machine}) {
      Session s(windows);
      RegistryAccess access(s.registry, s.messages);
      StoredPasswordCodec codec(access, s.helperLibrary);
      const std::string stored = codec.EncryptPassword(std::string(kStoredPasswordKey), "Pw").text;
      SeedAt(s.registry, place, {"default master password", stored});
      s.Open().Click(Id::btnApply);
      EXPECT_EQ(s.controls.Text(Id::txtMasterPass), "Pw");
      EXPECT_EQ(TextAt(s.registry, kMachineProductKey, "default master password"), stored);
      if (place != Place::Machine) {
        const Location& copy = place == Place::Legacy ? kLegacyUserKey : kUserProductKey;
        EXPECT_EQ(TextAt(s.registry, copy, "default master password"), stored);
      }
      EXPECT_EQ(NumberAt(s.registry, kUserProductKey, "persistent"), 1);
    }
  }
}

}  // namespace
}  // namespace quillon
