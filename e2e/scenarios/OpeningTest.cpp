// Opening: the window an administrator meets before touching anything, on a
// registry without any of the product's values. The window's few fixed facts
// are spelt out here; the layout of its 82 controls comes from the controls
// table, whose rows have their own tests.
#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "e2e/driver/RunFolders.h"
#include "e2e/driver/Screenshot.h"
#include "e2e/scenarios/Scenario.h"
#include "e2e/scenarios/WindowState.h"

namespace quillon::e2e {
namespace {

using Id = ControlId;

constexpr int kTwipsPerInch = 1440;
// Long enough for the page's controls to paint after the switch.
constexpr auto kPaintDelay = std::chrono::milliseconds(300);

// After a load with no file name the file-name group is greyed, beside the
// controls created greyed.
bool EnabledAfterCleanLoad(const ControlDefinition& row) {
  return row.created.enabled &&
         std::ranges::find(kFileNameGroup, row.id) == std::end(kFileNameGroup);
}

bool ShownWithPage(const ControlDefinition& row, Page page) {
  return row.created.visible && (!row.page || *row.page == page);
}

bool Overlap(const TwipsRect& one, const TwipsRect& other) {
  return one.left < other.left + other.width && other.left < one.left + one.width &&
         one.top < other.top + other.height && other.top < one.top + one.height;
}

// Some rectangles of the table overlap a neighbour on the same page; the
// window may trim such a control to keep the neighbour whole.
bool OverlapsANeighbour(const ControlDefinition& row) {
  return std::ranges::any_of(ControlTable(), [&](const ControlDefinition& other) {
    const bool sharesScreen = other.created.visible && row.created.visible &&
                              (!other.page || !row.page || *other.page == *row.page);
    return &other != &row && sharesScreen && Overlap(row.rect, other.rect);
  });
}

struct Dpi {
  int x;
  int y;
};

Dpi ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const Dpi dpi{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
  ReleaseDC(nullptr, screen);
  return dpi;
}

int ToPixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }

struct KindLook {
  ControlKind kind;
  const char* className;
};

constexpr KindLook kKindLooks[] = {
    {ControlKind::kTextBox, "Edit"},      {ControlKind::kCheckBox, "Button"},
    {ControlKind::kComboBox, "ComboBox"}, {ControlKind::kButton, "Button"},
    {ControlKind::kLabel, "Static"},
};

std::string ClassOfKind(ControlKind kind) {
  return std::ranges::find(kKindLooks, kind, &KindLook::kind)->className;
}

bool SameIgnoringCase(const std::string& one, const std::string& other) {
  return std::ranges::equal(one, other, [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

// The style that makes each kind behave as the window's description says.
void ExpectKindStyle(const ControlDefinition& row, DWORD style) {
  const DWORD buttonType = style & BS_TYPEMASK;
  switch (row.kind) {
    case ControlKind::kCheckBox:
      EXPECT_TRUE(buttonType == BS_CHECKBOX || buttonType == BS_AUTOCHECKBOX ||
                  buttonType == BS_3STATE || buttonType == BS_AUTO3STATE)
          << "not a check box: button style " << buttonType;
      break;
    case ControlKind::kButton:
      EXPECT_EQ(buttonType, static_cast<DWORD>(BS_PUSHBUTTON))
          << "a push button that is not the plain kind (a default button would take Enter)";
      break;
    case ControlKind::kComboBox:
      EXPECT_EQ(style & 0x3, static_cast<DWORD>(CBS_DROPDOWN)) << "the edit field must take typing";
      break;
    case ControlKind::kTextBox:
      EXPECT_EQ(style & (ES_MULTILINE | ES_READONLY), 0u)
          << "text boxes are single-line and editable";
      break;
    case ControlKind::kLabel: break;
  }
}

std::string PictureName(Page page) {
  std::string name = std::to_string(static_cast<int>(page) + 1) + "-";
  for (const char c : kTabControl.tabCaptions[static_cast<std::size_t>(page)]) {
    name += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return name + ".bmp";
}

class Opening : public Scenario {};

TEST_F(Opening, ShowsTitleFiveTabsTroubleshootingInFrontAndFocusOnApply) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(Window().Title(), "Quillon Administrator Utility 1.31");
  EXPECT_EQ(Window().TabCaptions(), (std::vector<std::string>{"File Save", "Email", "File Name",
                                                              "Troubleshooting", "Security"}));
  EXPECT_EQ(Window().PageInFront(), Page::kTroubleshooting);
  EXPECT_EQ(Window().KeyboardFocus(), Window().Control(Id::btnApply))
      << "keyboard focus is not on Apply";
  const Dpi dpi = ScreenDpi();
  const SIZE client = Window().ClientSize();
  EXPECT_EQ(client.cx, ToPixels(7332, dpi.x));
  EXPECT_EQ(client.cy, ToPixels(6348, dpi.y));
  EXPECT_TRUE(CancelAndEnd());
}

TEST_F(Opening, EveryControlIsInPlaceAndGreyedOnlyWhereItShouldBe) {
  ASSERT_TRUE(Open());
  const Dpi dpi = ScreenDpi();
  for (const ControlDefinition& row : ControlTable()) {
    SCOPED_TRACE(std::string(ControlName(row.id)));
    ASSERT_NE(Window().Control(row.id), nullptr) << "no such control in the window";
    EXPECT_TRUE(SameIgnoringCase(Window().ClassName(row.id), ClassOfKind(row.kind)))
        << "class " << Window().ClassName(row.id);
    ExpectKindStyle(row, Window().Style(row.id));
    if (row.kind != ControlKind::kTextBox && row.kind != ControlKind::kComboBox) {
      EXPECT_EQ(Window().Text(row.id), row.caption);
    }
    if (row.kind == ControlKind::kComboBox) {
      EXPECT_EQ(Window().ListItems(row.id),
                std::vector<std::string>(row.listItems.begin(), row.listItems.end()));
    }
    EXPECT_EQ(Window().PasswordChar(row.id), row.created.passwordChar);
    // The top-left corner is the table's at the screen's resolution, and so
    // is the size, except where the window trims a control that overlaps a
    // neighbour, and a combo box's height, which follows its font and list.
    const RECT placed = Window().PlacedRect(row.id);
    EXPECT_NEAR(placed.left, ToPixels(row.rect.left, dpi.x), 1);
    EXPECT_NEAR(placed.top, ToPixels(row.rect.top, dpi.y), 1);
    const int width = ToPixels(row.rect.width, dpi.x);
    const int height = ToPixels(row.rect.height, dpi.y);
    if (OverlapsANeighbour(row)) {
      EXPECT_LE(placed.right - placed.left, width + 1);
      EXPECT_GT(placed.right - placed.left, 0);
    } else {
      EXPECT_NEAR(placed.right - placed.left, width, 1);
    }
    if (OverlapsANeighbour(row) && row.kind != ControlKind::kComboBox) {
      EXPECT_LE(placed.bottom - placed.top, height + 1);
      EXPECT_GT(placed.bottom - placed.top, 0);
    } else if (row.kind != ControlKind::kComboBox) {
      EXPECT_NEAR(placed.bottom - placed.top, height, 1);
    }
    EXPECT_EQ(Window().Enabled(row.id), EnabledAfterCleanLoad(row));
    EXPECT_EQ(Window().OnScreen(row.id), ShownWithPage(row, Page::kTroubleshooting));
  }
  EXPECT_TRUE(CancelAndEnd());
}

// The pictures land in the build folder for a person to look at; the
// scenario checks what each page shows and hides.
TEST_F(Opening, EachPageShowsItsOwnControlsAndIsPictured) {
  ASSERT_TRUE(Open());
  for (std::size_t index = 0; index < kPageCount; ++index) {
    const auto page = static_cast<Page>(index);
    SCOPED_TRACE(std::string(kTabControl.tabCaptions[index]));
    ASSERT_TRUE(Window().ShowPage(page));
    for (const ControlDefinition& row : ControlTable()) {
      EXPECT_EQ(Window().OnScreen(row.id), ShownWithPage(row, page))
          << ControlName(row.id) << (ShownWithPage(row, page) ? " is missing" : " shows through");
    }
    RedrawWindow(Window().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    ASSERT_TRUE(Window().Settle());
    std::this_thread::sleep_for(kPaintDelay);
    const std::string picture = ScreenshotFolder() + "\\" + PictureName(page);
    EXPECT_TRUE(SaveWindowPicture(Window().Handle(), picture)) << "no picture at " << picture;
  }
  EXPECT_TRUE(CancelAndEnd());
}

}  // namespace
}  // namespace quillon::e2e
