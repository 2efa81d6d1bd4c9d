// The real window as only Windows shows it, with the program's manifest
// linked in: every control of the table built with its class, text and
// state, the page in front at start and what each page shows, where the Tab
// key goes and where the focus starts, the three-state check boxes, Esc and
// the close box, and Common Controls 6 in effect.
#include "app/win32/MainWindow.h"
// After windows.h, which MainWindow.h brings.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <ranges>

namespace quillon {
namespace {

// What a window spy sees of each kind: its class, and the style bits that
// make check boxes three-state, push buttons not take Enter, and combo
// boxes take typing.
struct KindLook {
  ControlKind kind;
  const char* className;
  LONG typeMask;
  LONG type;
};

constexpr KindLook kKindLooks[] = {
    {ControlKind::kTextBox, "Edit", ES_MULTILINE | ES_READONLY, 0},
    {ControlKind::kCheckBox, "Button", BS_TYPEMASK, BS_3STATE},
    {ControlKind::kComboBox, "ComboBox", CBS_DROPDOWNLIST, CBS_DROPDOWN},
    {ControlKind::kButton, "Button", BS_TYPEMASK, BS_PUSHBUTTON},
    {ControlKind::kLabel, "Static", SS_TYPEMASK, SS_LEFTNOWORDWRAP},
};

// A window's text or class name.
std::string Read(int(WINAPI* get)(HWND, LPSTR, int), HWND window) {
  std::array<char, 512> text{};
  get(window, text.data(), static_cast<int>(text.size()));
  return text.data();
}

std::string NameOf(HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == kTabControlDialogId) return std::string(kTabControl.name);
  return std::string(kControlNames.at(static_cast<std::size_t>(id - kFirstControlDialogId)));
}

// The tab control, then every enabled control on the screen that takes the
// focus, by their numbers in the table.
std::vector<std::string> TabStopsInTableOrder(Page page) {
  std::map<int, std::string> stops = {{kTabControl.tabOrder, std::string(kTabControl.name)}};
  for (const ControlDefinition& row : ControlTable()) {
    if (OnScreen(row, page) && row.created.enabled && row.tabOrder) {
      stops.emplace(*row.tabOrder, ControlName(row.id));
    }
  }
  const auto names = std::views::values(stops);
  return {names.begin(), names.end()};
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = MainWindow::Create(GetModuleHandleA(nullptr));
    ASSERT_NE(window_, nullptr) << "error " << GetLastError();
    ASSERT_TRUE(window_->Show(SW_SHOWNORMAL)) << "error " << GetLastError();
    Pump();
  }

  HWND Frame() const { return window_->Handle(); }
  HWND Child(ControlId id) const { return GetDlgItem(Frame(), DialogIdOf(id)); }

  // Lets the window handle what is queued (activation, painting) for a while.
  void Pump() {
    for (int round = 0; round < 20; ++round, Sleep(10)) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
  }

  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, EveryControlIsBuiltWithItsClassTextAndState) {
  for (const ControlDefinition& row : ControlTable()) {
    SCOPED_TRACE(std::string(ControlName(row.id)));
    const HWND control = Child(row.id);
    ASSERT_NE(control, nullptr);
    const KindLook& look = *std::ranges::find(kKindLooks, row.kind, &KindLook::kind);
    EXPECT_EQ(Read(GetClassNameA, control), look.className);
    EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & look.typeMask, look.type);
    const bool editable = row.kind == ControlKind::kTextBox || row.kind == ControlKind::kComboBox;
    EXPECT_EQ(Read(GetWindowTextA, control), editable ? row.created.text : row.caption);
    EXPECT_EQ(IsWindowEnabled(control) != FALSE, row.created.enabled);
    if (row.kind == ControlKind::kTextBox) {
      EXPECT_EQ(SendMessageA(control, EM_GETPASSWORDCHAR, 0, 0), row.created.passwordChar);
    }
    // Only the buttons of Common Controls 6, which the manifest brings, answer it.
    SIZE ideal{};
    EXPECT_TRUE(row.kind != ControlKind::kButton ||
                SendMessageA(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    std::vector<std::string> items;
    for (WPARAM i = 0; row.kind == ControlKind::kComboBox &&
                       static_cast<LRESULT>(i) < SendMessageA(control, CB_GETCOUNT, 0, 0);
         ++i) {
      const auto length = static_cast<std::size_t>(SendMessageA(control, CB_GETLBTEXTLEN, i, 0));
      std::string item(length + 1, '\0');  // and its NUL
      SendMessageA(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
      items.push_back(item.substr(0, length));
    }
    EXPECT_EQ(items, std::vector<std::string>(row.listItems.begin(), row.listItems.end()));
  }
}

TEST_F(MainWindowTest, EachPageShowsItsControlsAndTheTabKeyWalksThemInTableOrder) {
  EXPECT_EQ(GetFocus(), Child(ControlId::btnApply)) << "the focus does not start on Apply";
  const auto front = SendMessageA(GetDlgItem(Frame(), kTabControlDialogId), TCM_GETCURSEL, 0, 0);
  EXPECT_EQ(kTabControl.tabCaptions.at(static_cast<std::size_t>(front)), "Troubleshooting");
  for (std::size_t index = 0; index < kPageCount; ++index) {
    const auto page = static_cast<Page>(index);
    SCOPED_TRACE(std::string(kTabControl.tabCaptions[index]));
    // Without TCS_BUTTONS, moving the tabs' focus selects the tab and tells
    // the window, as a click on it does.
    SendMessageA(GetDlgItem(Frame(), kTabControlDialogId), TCM_SETCURFOCUS, index, 0);
    for (const ControlDefinition& row : ControlTable()) {
      EXPECT_EQ(IsWindowVisible(Child(row.id)) != FALSE, OnScreen(row, page))
          << ControlName(row.id);
    }
    const HWND apply = Child(ControlId::btnApply);
    std::vector<std::string> walk = {NameOf(apply)};
    for (HWND stop = GetNextDlgTabItem(Frame(), apply, FALSE);
         stop != apply && walk.size() <= kControlCount;
         stop = GetNextDlgTabItem(Frame(), stop, FALSE)) {
      walk.push_back(NameOf(stop));
    }
    EXPECT_EQ(walk, TabStopsInTableOrder(page));
  }
}

// The core shows 2 (greyed) through the three states; a click ticks a clear
// box and clears any other.
TEST_F(MainWindowTest, CheckBoxesShowThreeStatesAndAClickToggles) {
  const HWND box = Child(ControlId::chkDisableResizing);  // on the page in front
  for (const auto& [shown, afterClick] : {std::pair{0, 1}, {1, 0}, {2, 0}}) {
    window_->SetValue(ControlId::chkDisableResizing, shown);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), shown);
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), afterClick) << "clicked when " << shown;
  }
}

// Esc, which the dialog manager turns into IDCANCEL, does nothing; the close
// box ends the window. Neither reaches the core as a click, so neither writes.
TEST_F(MainWindowTest, EscDoesNothingAndTheCloseBoxClosesWithoutAClick) {
  std::vector<ControlId> clicks;
  window_->SetClickListener([&](ControlId id) { clicks.push_back(id); });
  PostMessageA(Child(ControlId::btnApply), WM_KEYDOWN, VK_ESCAPE, 0);
  PostQuitMessage(0);  // after the key: the loop returns with the window still there
  window_->RunUntilClosed();
  EXPECT_NE(Frame(), nullptr) << "Esc closed the window";
  PostMessageA(Frame(), WM_SYSCOMMAND, SC_CLOSE, 0);
  window_->RunUntilClosed();
  EXPECT_EQ(Frame(), nullptr);
  EXPECT_EQ(clicks, std::vector<ControlId>{});
}

}  // namespace
}  // namespace quillon
