// The Test button against a real print system: CUPS with a queue named
// exactly "Quillon" that turns each job into a PDF file, beside a default
// queue "Paper" (both started by the suite's CTest fixture,
// e2e/cups-quillon.sh). And the same button on a machine without any
// printer. Wine's print spooler asks the CUPS server that the host
// environment's CUPS_SERVER names, as the driver was started; a Windows
// program cannot change that for the programs it starts. So each case runs
// where CUPS_SERVER says the right thing, and skips elsewhere: the CTest test
// e2e_tests names the fixture's server, e2e_without_printer a socket that
// does not exist.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/driver/HostShell.h"
#include "e2e/driver/RunFolders.h"
#include "e2e/scenarios/Scenario.h"

namespace quillon::e2e {
namespace {

using Id = ControlId;
using enum Location;

constexpr char kProductQueue[] = "Quillon";
constexpr char kDefaultQueue[] = "Paper";
// Short enough for the test line to fit across the page at 24 points (the
// line is not wrapped, so a longer one is cut off at the margin), with a
// blank in it, as administrators like them.
constexpr char kTestFileName[] = "C:\\PDF\\test run.pdf";
// CUPS turns the job into a PDF file after the spooler has it; ghostscript
// takes a few seconds on a cold start.
constexpr Milliseconds kPrintPatience{90000};
// A 24-point font: pdftotext's word boxes are the font's ascent plus
// descent, a little under the em height.
constexpr double kSmallestWordHeight = 20.0;
constexpr double kLargestWordHeight = 26.0;

// The server CUPS_SERVER names, if it names one that is there.
enum class PrintServer { kNotNamed, kThere, kNotThere };

// Wine does not show sockets to Windows programs, so the host looks.
PrintServer NamedPrintServer() {
  const char* server = std::getenv("CUPS_SERVER");
  if (server == nullptr || *server == '\0') return PrintServer::kNotNamed;
  const std::optional<HostResult> socket = RunOnHost("test -S " + ShellQuoted(server));
  return socket && socket->exitStatus == 0 ? PrintServer::kThere : PrintServer::kNotThere;
}

std::string QueueFolderOnHost(const std::string& queue) {
  return CupsStateOnHost() + "/pdf-" + queue;
}

std::vector<std::string> PdfFilesOf(const std::string& queue) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((DosPath(QueueFolderOnHost(queue)) + "\\*.pdf").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    files.emplace_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return files;
}

void EmptyQueueFolder(const std::string& queue) {
  for (const std::string& file : PdfFilesOf(queue)) {
    DeleteFileA((DosPath(QueueFolderOnHost(queue)) + "\\" + file).c_str());
  }
}

bool QueueIsIdle(const std::string& queue) {
  const std::optional<HostResult> jobs = RunOnHost("lpstat -o " + ShellQuoted(queue));
  return jobs && jobs->exitStatus == 0 && jobs->output.empty();
}

std::string Attribute(const std::string& element, const std::string& name) {
  const std::string key = name + "=\"";
  const std::size_t start = element.find(key);
  if (start == std::string::npos) return {};
  const std::size_t valueStart = start + key.size();
  return element.substr(valueStart, element.find('"', valueStart) - valueStart);
}

// The heights of the words pdftotext -bbox finds, in points.
std::vector<double> WordHeights(const std::string& boxes) {
  std::vector<double> heights;
  for (std::size_t at = boxes.find("<word "); at != std::string::npos;
       at = boxes.find("<word ", at + 1)) {
    const std::string element = boxes.substr(at, boxes.find('>', at) - at);
    heights.push_back(std::strtod(Attribute(element, "yMax").c_str(), nullptr) -
                      std::strtod(Attribute(element, "yMin").c_str(), nullptr));
  }
  return heights;
}

class TestPrint : public Scenario {
 protected:
  // Test pressed on a window holding the test file name; returns the box
  // that answered it, confirmed, with the window left open.
  std::optional<MessageBoxView> PressTest() {
    if (!Window().Type(Id::txtPDFFileName, kTestFileName) || !Window().Press(Id::btnTestFile)) {
      return std::nullopt;
    }
    std::optional<ModalBox> box = NextBox("the message after Test");
    if (!box) return std::nullopt;
    const MessageBoxView view = box->View();
    // The first pass has written the settings before anything is printed.
    const std::optional<RegValue> fileName = registry::Read(kUser, "PDFDefaultFileName");
    EXPECT_TRUE(fileName && SameValue(RegValue::Text(kTestFileName), *fileName))
        << "the file name was not written before the test print";
    if (!box->Confirm()) return std::nullopt;
    ExpectNoBox("the message after Test");
    EXPECT_TRUE(Window().IsOpen()) << "Test closed the window";
    return view;
  }
};

TEST_F(TestPrint, PrintsTheTestLineToTheQuillonQueueAndNamesTheFile) {
  if (NamedPrintServer() != PrintServer::kThere) {
    GTEST_SKIP() << "needs the suite's print system: CUPS_SERVER must name the socket of the "
                    "scheduler that the CTest fixture e2e_print_system (e2e/cups-quillon.sh) "
                    "starts";
  }
  EmptyQueueFolder(kProductQueue);
  EmptyQueueFolder(kDefaultQueue);
  ASSERT_TRUE(registry::SeedText(kMachine, "PDFTitle", "Left by the driver"));
  ASSERT_TRUE(Open());
  const std::optional<MessageBoxView> answer = PressTest();
  ASSERT_TRUE(answer);
  EXPECT_EQ(*answer, Confirmation(std::string("File \"") + kTestFileName + "\" created."));
  EXPECT_TRUE(registry::Read(kMachine, "PDFTitle")) << "Test removed \"PDFTitle\"";

  ASSERT_TRUE(WaitUntil(
      "a PDF file from the Quillon queue, with the queue idle",
      [] { return !PdfFilesOf(kProductQueue).empty() && QueueIsIdle(kProductQueue); },
      kPrintPatience));
  const std::vector<std::string> made = PdfFilesOf(kProductQueue);
  ASSERT_EQ(made.size(), 1u) << "the one test job made " << made.size() << " files";
  EXPECT_TRUE(PdfFilesOf(kDefaultQueue).empty()) << "the job also went to the default printer";

  const std::string pdf = ShellQuoted(QueueFolderOnHost(kProductQueue) + "/" + made.front());
  const std::optional<HostResult> text = RunOnHost("pdftotext -layout " + pdf + " -");
  ASSERT_TRUE(text && text->exitStatus == 0) << (text ? text->output : "");
  const std::string testLine = std::string("Quillon test to \"") + kTestFileName + "\"";
  EXPECT_NE(text->output.find(testLine), std::string::npos)
      << "expected the line " << testLine << " in the PDF, found:\n"
      << text->output;

  const std::optional<HostResult> boxes = RunOnHost("pdftotext -bbox " + pdf + " -");
  ASSERT_TRUE(boxes && boxes->exitStatus == 0);
  const std::vector<double> heights = WordHeights(boxes->output);
  ASSERT_FALSE(heights.empty()) << "pdftotext found no words";
  for (const double height : heights) {
    EXPECT_GE(height, kSmallestWordHeight) << "a word smaller than a 24-point font makes";
    EXPECT_LE(height, kLargestWordHeight) << "a word larger than a 24-point font makes";
  }
  EXPECT_TRUE(CancelAndEnd());
}

using TestPrintWithoutPrinter = TestPrint;

TEST_F(TestPrintWithoutPrinter, TheAdministratorIsToldAndNothingHangs) {
  if (NamedPrintServer() != PrintServer::kNotThere) {
    GTEST_SKIP() << "needs a machine without printers: CUPS_SERVER must name a socket where no "
                    "server listens, as the CTest test e2e_without_printer sets it";
  }
  ASSERT_TRUE(Open());
  const std::optional<MessageBoxView> answer = PressTest();
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->caption, kAdministratorUtilityTitle);
  EXPECT_TRUE(answer->exclamationIcon) << *answer;
  EXPECT_EQ(answer->text.find("created."), std::string::npos)
      << "claims a file was made without a printer: " << *answer;
  EXPECT_NE(answer->text.find("could not be printed"), std::string::npos) << *answer;
  EXPECT_TRUE(CancelAndEnd());
}

}  // namespace
}  // namespace quillon::e2e
