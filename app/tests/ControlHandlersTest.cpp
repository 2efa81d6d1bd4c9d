// The handlers of single controls, reached as the window reaches them: the
// change notifications of texts set on the controls, and the clicks of the
// "..." pickers and Cancel. The window is in its created state: nothing is
// loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/ControlTable.h"
#include "app/tests/SubstitutePlatform.h"

namespace quillon {
namespace {

using Id = ControlId;
using WindowCall = ControlModel::WindowCall;

const std::vector<Id> kFileNameGroup = {Id::txtMergeFile,        Id::txtWatermarkFile,
                                        Id::cboMergeCommand,     Id::cboWatermarkCommand,
                                        Id::lblAppend,           Id::lblApply,
                                        Id::lblWatermarkFile};
const std::vector<Id> kExclusionGroup = {Id::lblWatermark, Id::lblWatermarkPre,
                                         Id::lblWatermarkPost, Id::txtExcludeWatermarkPre,
                                         Id::txtExcludeWatermarkPost};

// 1 when the whole group is enabled, 0 when none of it is, -1 when mixed.
int GroupEnabled(const Controls& controls, const std::vector<Id>& group) {
  const auto count = std::ranges::count_if(group, [&](Id id) { return controls.Enabled(id); });
  return count == 0 ? 0 : count == std::ssize(group) ? 1 : -1;
}

// The window over the substitutes, in a locale with a decimal point and
// comma-grouped digits unless told otherwise.
struct CreatedWindow : SubstitutePlatform {
  explicit CreatedWindow(NumberSeparators separators = {.decimal = ".", .group = ","})
      : window(PortsIn(std::move(separators))) {}
  AdminUtilityPorts PortsIn(NumberSeparators separators) {
    AdminUtilityPorts ports = Ports();
    ports.numberSeparators = std::move(separators);
    return ports;
  }
  AdminUtilityMain window;
};

TEST(ControlHandlers, FileNamesSwitchTheirGroupsAndNothingElse) {
  const struct {
    const char* what;
    std::vector<std::pair<Id, std::string>> typed;  // in order
    int fileNameGroup, exclusionGroup;              // as GroupEnabled gives them
  } cases[] = {
      {"file name", {{Id::txtPDFFileName, "C:\\a.pdf"}, {Id::cboMergeCommand, "Prepend"}}, 1, 0},
      {"emptied file name greys its group but keeps its texts",
       {{Id::txtPDFFileName, "C:\\a.pdf"}, {Id::txtMergeFile, "C:\\cover.pdf"},
        {Id::cboMergeCommand, "Prepend"}, {Id::txtPDFFileName, ""}}, 0, 0},
      {"blanks count as a name",
       {{Id::txtPDFFileName, "x"}, {Id::txtPDFFileName, ""}, {Id::txtPDFFileName, " "},
        {Id::txtWatermarkFile, " "}}, 1, 1},
      {"watermark file", {{Id::txtWatermarkFile, "C:\\mark.pdf"}}, 1, 1},
      {"emptied watermark file greys the exclusion but keeps its counts",
       {{Id::txtWatermarkFile, "C:\\mark.pdf"}, {Id::txtExcludeWatermarkPre, "2"},
        {Id::txtWatermarkFile, ""}}, 1, 0},
      {"emptied file name leaves the exclusion as it was",
       {{Id::txtPDFFileName, "C:\\a.pdf"}, {Id::txtWatermarkFile, "C:\\mark.pdf"},
        {Id::txtPDFFileName, ""}}, 0, 1},
      {"other text boxes switch nothing",
       {{Id::txtMergeFile, "C:\\cover.pdf"}, {Id::txtDefaultWatermarkFile, "C:\\mark.pdf"}}, 1, 0},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    CreatedWindow fresh;
    std::map<Id, std::string> last;
    for (const auto& [box, text] : row.typed) fresh.controls.SetText(box, last[box] = text);
    EXPECT_EQ(GroupEnabled(fresh.controls, kFileNameGroup), row.fileNameGroup);
    EXPECT_EQ(GroupEnabled(fresh.controls, kExclusionGroup), row.exclusionGroup);
    for (const auto& [box, text] : last) EXPECT_EQ(fresh.controls.Text(box), text);
    for (const ControlDefinition& definition : ControlTable()) {
      const bool grouped = std::ranges::count(kFileNameGroup, definition.id) > 0 ||
                           std::ranges::count(kExclusionGroup, definition.id) > 0;
      EXPECT_TRUE(grouped || fresh.controls.Enabled(definition.id)) << ControlName(definition.id);
    }
  }
}

TEST(ControlHandlers, NotificationsNoLongerReachAWindowThatIsGone) {
  SubstitutePlatform platform;
  { AdminUtilityMain window(platform.Ports()); }
  platform.controls.SetText(Id::txtPDFFileName, "a.pdf");
  platform.controls.SetText(Id::txtPDFFileName, "");
  EXPECT_TRUE(platform.controls.Enabled(Id::txtMergeFile));
}

TEST(ControlHandlers, PageCountsKeepNumbersAndTurnTheRestIntoZero) {
  CreatedWindow w;
  // What counts as a number is the locale number test's business.
  const std::pair<std::string, std::string> cases[] = {
      {"12a", "0"}, {"", "0"}, {"-", "0"}, {"-3", "-3"}, {" 1,234.5 ", " 1,234.5 "},
      {"99999999999999999999", "99999999999999999999"}};
  const Id pre = Id::txtExcludeWatermarkPre;
  const Id post = Id::txtExcludeWatermarkPost;
  for (const auto& [box, other] : {std::pair{pre, post}, std::pair{post, pre}}) {
    w.controls.SetText(other, "3");
    for (const auto& [typed, shown] : cases) {
      w.controls.SetText(box, "12");
      w.controls.SetText(box, typed);
      EXPECT_EQ(w.controls.Text(box), shown) << ControlName(box) << " typed \"" << typed << '"';
      EXPECT_EQ(w.controls.Text(other), "3");
    }
  }
}

// "0" notifies once more, and being numeric ends the round.
TEST(ControlHandlers, PageCountRefilledWithZeroNotifiesOnceMore) {
  CreatedWindow w;
  w.controls.SetText(Id::txtExcludeWatermarkPost, "12");
  w.controls.raisedChanges.clear();
  w.controls.SetText(Id::txtExcludeWatermarkPost, "12x");
  EXPECT_EQ(w.controls.Text(Id::txtExcludeWatermarkPost), "0");
  EXPECT_EQ(w.controls.raisedChanges, std::vector(2, Id::txtExcludeWatermarkPost));
}

TEST(ControlHandlers, PageCountsUseTheLocaleSeparators) {
  CreatedWindow w({.decimal = ",", .group = "."});
  const std::pair<std::string, std::string> cases[] = {{"1.234,5", "1.234,5"}, {"1,234.5", "0"}};
  for (const auto& [typed, shown] : cases) {
    w.controls.SetText(Id::txtExcludeWatermarkPre, typed);
    EXPECT_EQ(w.controls.Text(Id::txtExcludeWatermarkPre), shown) << '"' << typed << '"';
  }
}

// The handler tests above prove something only if the in-memory controls
// notify as edit controls do: on a real change of a text box's text alone.
TEST(ControlHandlers, ModelNotifiesOnlyRealChangesOfTextBoxes) {
  CreatedWindow w;
  w.controls.SetText(Id::txtMailBody, "hello");
  w.controls.SetText(Id::txtMailBody, "hello");
  w.controls.SetText(Id::txtExcludeWatermarkPre, "0");  // already "0"
  w.controls.SetText(Id::cboMergeCommand, "Concatenate");
  EXPECT_EQ(w.controls.raisedChanges, std::vector{Id::txtMailBody});
  EXPECT_EQ(w.controls.Text(Id::cboMergeCommand), "Concatenate");
}

TEST(ControlHandlers, EachPickerAsksWithItsTitleAndFlagsAndFillsItsTarget) {
  CreatedWindow w;
  const struct {
    Id button;
    std::string title;
    unsigned flags;
    Id target;
  } cases[] = {
      {Id::btnSelectPDFFileName, "Select the PDF file", 0x20004, Id::txtPDFFileName},
      {Id::btnSelectMergeFile, "Select the PDF file to merge", 0x20004, Id::txtMergeFile},
      {Id::btnSelectWatermarkFile, "Select the Watermark PDF file", 0x20004, Id::txtWatermarkFile},
      {Id::btnSelectWatermark, "Select a watermark PDF file", 0x21004, Id::txtDefaultWatermarkFile},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.title);
    const std::string chosen = "C:\\Docs\\" + std::string(ControlName(row.target)) + ".pdf";
    w.dialog.requests.clear();
    w.dialog.answers = {chosen, std::nullopt};
    w.window.Click(row.button);
    ASSERT_EQ(w.dialog.requests.size(), 1u);
    EXPECT_EQ(w.dialog.requests[0].title, row.title);
    EXPECT_EQ(w.dialog.requests[0].flags, row.flags);
    EXPECT_EQ(w.controls.Text(row.target), chosen);

    // A cancelled dialog leaves the box exactly as it was.
    w.controls.SetText(row.target, " kept  text ");
    w.controls.raisedChanges.clear();
    w.window.Click(row.button);
    EXPECT_EQ(w.controls.Text(row.target), " kept  text ");
    EXPECT_TRUE(w.controls.raisedChanges.empty());
  }
}

TEST(ControlHandlers, ChosenFilesLandInGreyedBoxesAndSwitchTheirGroups) {
  CreatedWindow w;
  w.window.txtPDFFileName_Change();
  ASSERT_FALSE(w.controls.Enabled(Id::txtWatermarkFile));
  w.dialog.answers = {"C:\\mark.pdf", "C:\\out\\a.pdf"};
  w.window.Click(Id::btnSelectWatermarkFile);
  EXPECT_EQ(w.controls.Text(Id::txtWatermarkFile), "C:\\mark.pdf");
  EXPECT_FALSE(w.controls.Enabled(Id::txtWatermarkFile));
  EXPECT_EQ(GroupEnabled(w.controls, kExclusionGroup), 1);
  w.window.Click(Id::btnSelectPDFFileName);
  EXPECT_EQ(GroupEnabled(w.controls, kFileNameGroup), 1);
}

TEST(ControlHandlers, CancelClosesTheWindowAndDoesNothingElse) {
  CreatedWindow w;
  w.window.Click(Id::Command2);
  EXPECT_EQ(w.controls.windowCalls, std::vector{WindowCall::kClose});
  EXPECT_TRUE(w.dialog.requests.empty());
}

}  // namespace
}  // namespace quillon
