// The Test button: the printer it picks, the page it prints, what it tells
// the administrator, and its two passes, which leave the registry as one
// pass does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tests/SubstitutePlatform.h"

namespace quillon {
namespace {

using Id = ControlId;

TEST(TestFile, PrintsToTheProductPrinterAndNamesTheFile) {
  Session s(Windows::Bits64);
  AdminUtilityMain& window = s.Open();
  s.controls.SetText(Id::txtPDFFileName, "C:\\Out\\test.pdf");
  window.Click(Id::btnTestFile);
  const std::vector<PrintedDocument> expected = {
      {"Quillon", {" ", " ", " ", "           Quillon test to \"C:\\Out\\test.pdf\""}, 24}};
  EXPECT_EQ(s.printers.documents, expected);
  EXPECT_EQ(s.messages.shown, (std::vector<RecordedMessage>{
                                  {"File \"C:\\Out\\test.pdf\" created.",
                                   "Quillon Administrator Utility", 0}}));
  EXPECT_EQ(s.broadcast.announcements, 2) << "two passes";
  EXPECT_EQ(std::ranges::count(s.controls.windowCalls, ControlModel::WindowCall::kClose), 0);
}

TEST(TestFile, OnlyTheExactNameIsChosen) {
  const struct {
    std::vector<std::string> installed;
    std::string printedOn;
  } cases[] = {{{"QUILLON", "Office"}, "Office"},
               {{"Quillon ", "quillon"}, "Office"},
               {{"Laser", "Quillon", "QUILLON"}, "Quillon"},
               {{}, "Office"}};
  for (const auto& row : cases) {
    Session s(Windows::Bits32);
    s.printers = RecordedPrinters(row.installed, "Office");
    s.Open().Click(Id::btnTestFile);
    ASSERT_EQ(s.printers.documents.size(), 1u);
    EXPECT_EQ(s.printers.documents[0].printer, row.printedOn);
  }
}

TEST(TestFile, EmptyFileNameIsNotRefused) {
  Session s(Windows::Bits32);
  s.Open().Click(Id::btnTestFile);
  ASSERT_EQ(s.printers.documents.size(), 1u);
  EXPECT_EQ(s.printers.documents[0].lines.back(), "           Quillon test to \"\"");
  EXPECT_EQ(s.messages.shown.at(0).text, "File \"\" created.");
}

TEST(TestFile, TwoPassesLeaveWhatOnePassLeavesAndKeepTheTitle) {
  const auto edit = [](ControlModel& c) {
    c.SetText(Id::txtPDFFileName, "C:\\a.pdf");
    c.SetText(Id::txtPostAction, "C:\\run.exe");
    c.SetText(Id::txtWatermarkFile, "w.pdf");
    c.SetText(Id::txtAutoMergeInterval, "100");
  };
  for (const Windows windows : {Windows::Bits32, Windows::Bits64}) {
    Session tested(windows);
    Session applied(windows);
    for (Session* s : {&tested, &applied}) {
      PutText(s->registry, kUserProductKey, "PDFTitle", "Report");
      s->Open();
      edit(s->controls);
    }
    tested.window->Click(Id::btnTestFile);
    EXPECT_EQ(applied.window->ApplySettings(), ApplyOutcome::Saved);
    EXPECT_EQ(Describe(tested.registry), Describe(applied.registry));
    EXPECT_EQ(TextAt(tested.registry, kUserProductKey, "PDFTitle"), "Report");
    EXPECT_EQ(tested.controls.Text(Id::txtPostAction), "C:\\run.exe \"%s\"");
  }
}

TEST(TestFile, AFailedPrintIsReportedAndTheSecondPassStillRuns) {
  Session s(Windows::Bits64);
  s.printers.failPrinting = true;
  AdminUtilityMain& window = s.Open();
  s.controls.SetText(Id::txtPDFFileName, "C:\\a.pdf");
  window.Click(Id::btnTestFile);
  ASSERT_EQ(s.messages.shown.size(), 1u);
  EXPECT_TRUE(s.messages.shown[0].text.starts_with("The test page could not be printed"));
  EXPECT_EQ(s.messages.shown[0].style, 0x30u);
  EXPECT_EQ(s.broadcast.announcements, 2);
}

TEST(TestFile, ARefusedPassPrintsNothing) {
  Session s(Windows::Bits64);
  AdminUtilityMain& window = s.Open();
  s.controls.SetText(Id::txtCopyErrorRetryCount, "ten");
  window.Click(Id::btnTestFile);
  EXPECT_TRUE(s.printers.documents.empty());
  EXPECT_EQ(s.broadcast.announcements, 0);
  ASSERT_EQ(s.messages.shown.size(), 1u);
  EXPECT_NE(s.messages.shown[0].text.find("\"Copy Error Retry Count\""), std::string::npos);
}

TEST(TestFile, AFailedWriteIsReportedAfterTheSecondPass) {
  Session s(Windows::Bits64);
  AdminUtilityMain& window = s.Open();
  s.controls.SetText(Id::txtDefaultPath, "C:\\Out");
  s.registry.SetStandardUser(true);
  window.Click(Id::btnTestFile);
  ASSERT_FALSE(s.messages.shown.empty());
  EXPECT_TRUE(s.messages.shown.back().text.starts_with("Not all settings were saved"));
  EXPECT_EQ(s.printers.documents.size(), 1u);
}

}  // namespace
}  // namespace quillon
