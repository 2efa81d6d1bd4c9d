// What only the real window shows of its layout: the frame, the tab control,
// every control of the table with its class, text, state, place in pixels at
// this display's DPI, list and tool tip; which controls each page shows, and
// where the Tab key takes the focus.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/win32/tests/MainWindowFixture.h"

namespace quillon {
namespace {

constexpr std::array kPages = {Page::kFileSave, Page::kEmail, Page::kFileName,
                               Page::kTroubleshooting, Page::kSecurity};

// What a window spy sees of each kind: the class, and the type bits of the
// style (three-state check boxes, plain push buttons, editable drop-downs).
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

std::string ClassOf(HWND window) {
  std::array<char, 64> name{};
  GetClassNameA(window, name.data(), static_cast<int>(name.size()));
  return name.data();
}

std::string PageName(Page page) {
  return std::string(kTabControl.tabCaptions[static_cast<std::size_t>(page)]);
}

bool OnScreen(const ControlDefinition& definition, Page page) {
  return definition.created.visible && (!definition.page || *definition.page == page);
}

bool ShownTogether(const ControlDefinition& one, const ControlDefinition& other) {
  return &one != &other && std::ranges::any_of(kPages, [&](Page page) {
           return OnScreen(one, page) && OnScreen(other, page);
         });
}

bool OverlapsInTable(const ControlDefinition& definition) {
  return std::ranges::any_of(ControlTable(), [&](const ControlDefinition& other) {
    return ShownTogether(definition, other) &&
           Overlap(MainWindowTest::ExpectedBox(definition.rect), MainWindowTest::ExpectedBox(other.rect));
  });
}

struct ToolTipsOf {
  HWND owner;
  HWND found = nullptr;
};

BOOL CALLBACK KeepToolTips(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ToolTipsOf*>(param);
  if (GetWindow(window, GW_OWNER) == search->owner && ClassOf(window) == TOOLTIPS_CLASSA) {
    search->found = window;
  }
  return TRUE;
}

// Asked in the wide variant: the narrow TTM_GETTEXTA of some versions cuts
// the text at 80 characters whatever the buffer.
std::string ToolTipOf(HWND toolTips, HWND owner, HWND control) {
  std::array<wchar_t, 1024> text{};
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = text.data();
  SendMessageW(toolTips, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&info));
  std::array<char, 1024> narrow{};
  WideCharToMultiByte(CP_ACP, 0, text.data(), -1, narrow.data(), static_cast<int>(narrow.size()),
                      nullptr, nullptr);
  return narrow.data();
}

TEST_F(MainWindowTest, FrameHasTheTitleIconAndClientAreaOfTheTable) {
  EXPECT_EQ(WindowText(Frame()), kMainWindow.title);
  RECT client{};
  GetClientRect(Frame(), &client);
  EXPECT_EQ(client.right, Pixels(kMainWindow.clientWidth, LOGPIXELSX));
  EXPECT_EQ(client.bottom, Pixels(kMainWindow.clientHeight, LOGPIXELSY));
  EXPECT_NE(GetClassLongPtrA(Frame(), GCLP_HICON), 0u);
  EXPECT_NE(GetClassLongPtrA(Frame(), GCLP_HICONSM), 0u);
}

TEST_F(MainWindowTest, TabControlHasFivePagesInOneRowWithTroubleshootingInFront) {
  HWND tabs = TabControl();
  EXPECT_EQ(ClassOf(tabs), WC_TABCONTROLA);
  EXPECT_EQ(PlacedBox(tabs), ExpectedBox(kTabControl.rect));
  ASSERT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(kPageCount));
  EXPECT_EQ(SendMessageA(tabs, TCM_GETROWCOUNT, 0, 0), 1);
  for (const Page page : kPages) {
    std::array<char, 64> caption{};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    item.cchTextMax = static_cast<int>(caption.size());
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(caption.data(), PageName(page));
    RECT rect{};
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.bottom - rect.top, Pixels(kTabControl.tabHeight, LOGPIXELSY));
  }
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), static_cast<LRESULT>(Page::kTroubleshooting));
}

TEST_F(MainWindowTest, EveryControlHasItsKindTextStateAndPlace) {
  const LRESULT font = SendMessageA(TabControl(), WM_GETFONT, 0, 0);
  ASSERT_NE(font, 0);
  for (const ControlDefinition& definition : ControlTable()) {
    SCOPED_TRACE(ControlName(definition.id));
    HWND control = Child(definition.id);
    ASSERT_NE(control, nullptr);
    const KindLook& look = *std::ranges::find(kKindLooks, definition.kind, &KindLook::kind);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    EXPECT_EQ(ClassOf(control), look.className);
    EXPECT_EQ(style & look.typeMask, look.type);
    EXPECT_EQ((style & WS_TABSTOP) != 0, definition.tabOrder.has_value());
    const bool editText = definition.kind == ControlKind::kTextBox || definition.kind == ControlKind::kComboBox;
    EXPECT_EQ(WindowText(control), editText ? definition.created.text : definition.caption);
    EXPECT_EQ(IsWindowEnabled(control) != FALSE, definition.created.enabled);
    EXPECT_EQ(SendMessageA(control, WM_GETFONT, 0, 0), font);
    // Where neighbours overlap in the table, one gives up the shared part at
    // its right or bottom edge; every other control has its full size.
    const Box placed = PlacedBox(control);
    const Box table = ExpectedBox(definition.rect);
    EXPECT_EQ(placed[0], table[0]);
    EXPECT_EQ(placed[1], table[1]);
    if (OverlapsInTable(definition)) {
      EXPECT_TRUE(placed[2] <= table[2] && placed[3] <= table[3]);
    } else {
      EXPECT_EQ(placed, table);
    }
    if (definition.kind == ControlKind::kTextBox) {
      EXPECT_EQ(SendMessageA(control, EM_GETPASSWORDCHAR, 0, 0), definition.created.passwordChar);
      EXPECT_GE(SendMessageA(control, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
    }
    if (definition.kind == ControlKind::kComboBox) {
      EXPECT_EQ(window->ListItems(definition.id),
                std::vector<std::string>(definition.listItems.begin(), definition.listItems.end()));
    }
    if (definition.kind == ControlKind::kCheckBox) {
      EXPECT_EQ(SendMessageA(control, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    }
  }
}

TEST_F(MainWindowTest, ToolTipsBelongToExactlyTheControlsThatHaveOne) {
  ToolTipsOf search{Frame()};
  EnumThreadWindows(GetCurrentThreadId(), KeepToolTips, reinterpret_cast<LPARAM>(&search));
  HWND toolTips = search.found;
  ASSERT_NE(toolTips, nullptr);
  const auto withTip = std::ranges::count_if(
      ControlTable(), [](const ControlDefinition& definition) { return !definition.toolTip.empty(); });
  EXPECT_EQ(SendMessageA(toolTips, TTM_GETTOOLCOUNT, 0, 0), withTip);
  for (const ControlDefinition& definition : ControlTable()) {
    EXPECT_EQ(ToolTipOf(toolTips, Frame(), Child(definition.id)), definition.toolTip) << ControlName(definition.id);
  }
}

// chkPersistent, hidden in the table, stays hidden on its own page too. The
// tab control lies above the pages' controls in z-order (third in the tab
// order), so its window region must leave every shown control out, or it
// paints over them.
TEST_F(MainWindowTest, EachPageShowsItsOwnControlsAndTheTwoButtons) {
  HRGN tabRegion = CreateRectRgn(0, 0, 0, 0);
  for (const Page page : kPages) {
    SCOPED_TRACE(PageName(page));
    ClickTab(page);
    EXPECT_EQ(SendMessageA(TabControl(), TCM_GETCURSEL, 0, 0), static_cast<LRESULT>(page));
    ASSERT_NE(GetWindowRgn(TabControl(), tabRegion), ERROR);
    for (const ControlDefinition& definition : ControlTable()) {
      EXPECT_EQ(IsWindowVisible(Child(definition.id)) != FALSE, OnScreen(definition, page))
          << ControlName(definition.id);
      const Box box = PlacedBox(Child(definition.id));
      const RECT rect{box[0], box[1], box[2], box[3]};
      if (OnScreen(definition, page)) {
        EXPECT_FALSE(RectInRegion(tabRegion, &rect)) << ControlName(definition.id);
      }
    }
  }
  DeleteObject(tabRegion);
}

TEST_F(MainWindowTest, ControlsShownTogetherDoNotOverlap) {
  for (const ControlDefinition& one : ControlTable()) {
    for (const ControlDefinition& other : ControlTable()) {
      if (ShownTogether(one, other) && &one < &other) {
        EXPECT_FALSE(Overlap(PlacedBox(Child(one.id)), PlacedBox(Child(other.id))))
            << ControlName(one.id) << " and " << ControlName(other.id);
      }
    }
  }
}

std::string NameOf(HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == kTabControlDialogId) return std::string(kTabControl.name);
  return std::string(kControlNames.at(static_cast<std::size_t>(id - kFirstControlDialogId)));
}

// Apply (0), Cancel (1) and the tab control (2), then the page's enabled
// controls in the order of their numbers.
std::vector<std::string> ExpectedTabWalk(Page page) {
  std::vector<const ControlDefinition*> stops;
  for (const ControlDefinition& definition : ControlTable()) {
    if (definition.page == page && OnScreen(definition, page) && definition.created.enabled && definition.tabOrder) {
      stops.push_back(&definition);
    }
  }
  std::ranges::sort(stops, {}, [](const ControlDefinition* definition) { return *definition->tabOrder; });
  std::vector<std::string> walk = {"btnApply", "Command2", std::string(kTabControl.name)};
  for (const ControlDefinition* definition : stops) walk.emplace_back(ControlName(definition->id));
  return walk;
}

TEST_F(MainWindowTest, TabKeyVisitsApplyCancelTheTabsThenThePageInTableOrder) {
  for (const Page page : kPages) {
    SCOPED_TRACE(PageName(page));
    ClickTab(page);
    HWND apply = Child(ControlId::btnApply);
    std::vector<std::string> walk;
    HWND stop = apply;
    do {
      walk.push_back(NameOf(stop));
      stop = GetNextDlgTabItem(Frame(), stop, FALSE);
    } while (stop && stop != apply && walk.size() <= kControlCount);
    EXPECT_EQ(walk, ExpectedTabWalk(page));
  }
}

}  // namespace
}  // namespace quillon
