// The Test button: the printer it picks, the page it prints, what it tells
// the administrator, and its two passes, which leave the registry as one
// pass does.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/tests/SubstitutePlatform.h"

namespace quillon {
namespace {

using Id = ControlId;

TEST(TestFile, PrintsToTheProductPrinterAndNamesTheFileEvenWhenEmpty) {
  for (const std::string fileName : {"C:\\Out\\test.pdf", ""}) {
    Session s(Windows::Bits64);
    AdminUtilityMain& window = s.Open();
    s.controls.SetText(Id::txtPDFFileName, fileName);
    window.Click(Id::btnTestFile);
    const std::vector<PrintedDocument> expected = {
        {"Quillon", {" ", " ", " ", "           Quillon test to \"" + fileName + "\""}, 24}};
    EXPECT_EQ(s.printers.documents, expected);
    EXPECT_EQ(s.messages.shown, (std::vector<RecordedMessage>{
                                    {"File \"" + fileName + "\" created.",
                                     "Quillon Administrator Utility", 0}}));
    EXPECT_EQ(s.broadcast.announcements, 2) << "two passes";
    EXPECT_EQ(std::ranges::count(s.controls.windowCalls, ControlModel::WindowCall::kClose), 0);
  }
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

TEST(TestFile, TwoPassesLeaveWhatOnePassLeavesAndKeepTheTitle) {
  for (const Windows windows : {Windows::Bits32, Windows::Bits64}) {
    Session tested(windows);
    Session applied(windows);
    for (Session* s : {&tested, &applied}) {
      PutText(s->registry, kUserProductKey, "PDFTitle", "Report");
      s->Open();
      s->controls.SetText(Id::txtPDFFileName, "C:\\a.pdf");
      s->controls.SetText(Id::txtPostAction, "C:\\run.exe");
      s->controls.SetText(Id::txtWatermarkFile, "w.pdf");
      s->controls.SetText(Id::txtAutoMergeInterval, "100");
    }
    tested.window->Click(Id::btnTestFile);
    EXPECT_EQ(applied.window->ApplySettings(), ApplyOutcome::Saved);
    EXPECT_EQ(Describe(tested.registry), Describe(applied.registry));
    EXPECT_EQ(TextAt(tested.registry, kUserProductKey, "PDFTitle"), "Report");
    EXPECT_EQ(tested.controls.Text(Id::txtPostAction), "C:\\run.exe \"%s\"");
  }
}

TEST(TestFile, FailuresAreToldAndARefusedPassPrintsNothing) {
  const struct {
    const char* what;
    void (*spoil)(Session&);
    std::size_t printed;
    int announcements;
    long windowMessages;       // with the window's own title
    std::string lastMessage;   // its start
  } cases[] = {
      {"print fails", [](Session& s) { s.printers.failPrinting = true; }, 0, 2, 1,
       "The test page could not be printed"},
      {"pass refused", [](Session& s) { s.controls.SetText(Id::txtCopyErrorRetryCount, "ten"); },
       0, 0, 1, "Nothing was saved."},
      {"write fails", [](Session& s) { s.registry.SetStandardUser(true); }, 1, 2, 2,
       "Not all settings were saved"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    Session s(Windows::Bits64);
    AdminUtilityMain& window = s.Open();
    s.controls.SetText(Id::txtDefaultPath, "C:\\Out");
    row.spoil(s);
    window.Click(Id::btnTestFile);
    EXPECT_EQ(s.printers.documents.size(), row.printed);
    EXPECT_EQ(s.broadcast.announcements, row.announcements);
    EXPECT_EQ(std::ranges::count(s.messages.shown, std::string("Quillon Administrator Utility"),
                                 &RecordedMessage::title),
              row.windowMessages);
    ASSERT_FALSE(s.messages.shown.empty());
    EXPECT_TRUE(s.messages.shown.back().text.starts_with(row.lastMessage));
    EXPECT_EQ(s.messages.shown.back().style, 0x30u);
  }
}

}  // namespace
}  // namespace quillon
