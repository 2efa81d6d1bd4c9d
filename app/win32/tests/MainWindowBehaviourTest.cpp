// What only the real window shows of its behaviour: the focus at opening,
// Enter and Esc, the check boxes' three states, the change notifications of
// real edit controls, the pickers' modal dialogs, closing without writing,
// and the wait pointer.
#include <array>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/win32/tests/FileDialogUser.h"
#include "app/win32/tests/MainWindowFixture.h"

namespace quillon {
namespace {

using Id = ControlId;

void Type(HWND control, const std::string& text) {
  for (const char c : text) SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

TEST_F(MainWindowTest, FocusIsOnApplyWhenTheWindowOpens) {
  EXPECT_EQ(GetFocus(), Child(Id::btnApply));
}

TEST_F(MainWindowTest, EnterAndEscapePressNoButton) {
  EXPECT_EQ(GetDlgItem(Frame(), IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(Frame(), IDCANCEL), nullptr);
  std::vector<ControlId> clicked;
  window->SetClickListener([&](ControlId button) { clicked.push_back(button); });
  const std::pair<ControlId, int> presses[] = {
      {Id::btnApply, VK_RETURN}, {Id::Command2, VK_RETURN}, {Id::Command2, VK_ESCAPE}};
  for (const auto& [focus, key] : presses) {
    SetFocus(Child(focus));
    MSG press{GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(key), 1, 0, {}};
    IsDialogMessageA(Frame(), &press);
    Pump();
  }
  EXPECT_TRUE(clicked.empty());
  EXPECT_TRUE(IsWindow(Frame()));
}

TEST_F(MainWindowTest, CheckBoxShowsThreeStatesAndAClickTogglesTicked) {
  ClickTab(Page::kFileSave);
  HWND box = Child(Id::chkSendPDF);
  const std::pair<int, int> clicks[] = {{0, 1}, {1, 0}, {2, 0}};
  for (const auto& [shown, afterClick] : clicks) {
    window->SetValue(Id::chkSendPDF, shown);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), shown);
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(window->Value(Id::chkSendPDF), afterClick) << "clicked at " << shown;
  }
}

TEST_F(MainWindowTest, TextBoxNotifiesOnlyRealChanges) {
  ClickTab(Page::kEmail);
  std::vector<ControlId> changes;
  window->SetChangeListener([&](ControlId id) { changes.push_back(id); });
  window->SetText(Id::txtMailSubject, "Quarterly");
  EXPECT_EQ(changes, std::vector{Id::txtMailSubject});
  window->SetText(Id::txtMailSubject, "Quarterly");
  // The edit control's own EN_CHANGE for the text it already holds.
  SendMessageA(Child(Id::txtMailSubject), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Quarterly"));
  EXPECT_EQ(changes.size(), 1u);
  Type(Child(Id::txtMailSubject), "!");
  EXPECT_EQ(changes.size(), 2u);
  // Combo boxes notify nothing, whatever they are given.
  window->SetText(Id::cboEncryptLevel, "Anything");
  EXPECT_EQ(window->Text(Id::cboEncryptLevel), "Anything");
  EXPECT_EQ(changes.size(), 2u);
}

// The program loads before the first display, while the hidden pages are
// not built yet: what the load sets must reach their controls all the same,
// with the same change notifications.
TEST_F(MainWindowTest, WhatIsSetBeforeTheFirstDisplayReachesThePagesBuiltAfterIt) {
  const std::unique_ptr<MainWindow> opening = MainWindow::Create(GetModuleHandleA(nullptr));
  ASSERT_NE(opening, nullptr);
  const auto child = [&](ControlId id) { return GetDlgItem(opening->Handle(), DialogIdOf(id)); };
  ASSERT_EQ(child(Id::txtMailSubject), nullptr) << "the Email page is built before it is needed";
  std::vector<ControlId> changes;
  opening->SetChangeListener([&](ControlId id) { changes.push_back(id); });
  opening->SetText(Id::txtMailSubject, "Quarterly");
  opening->SetText(Id::txtMailSubject, "Quarterly");
  opening->SetText(Id::cboPrintPermission, "Prevent printing");
  opening->SetValue(Id::chkSendPDF, 2);
  opening->SetEnabled(Id::txtDefaultWatermarkFile, false);
  EXPECT_EQ(changes, std::vector{Id::txtMailSubject});
  EXPECT_EQ(opening->Text(Id::txtMailSubject), "Quarterly");
  EXPECT_EQ(opening->Value(Id::chkSendPDF), 2);
  EXPECT_FALSE(opening->Enabled(Id::txtDefaultWatermarkFile));
  EXPECT_EQ(opening->ListItems(Id::cboPrintPermission),
            (std::vector<std::string>{"", "Allow printing", "Prevent printing"}));

  ASSERT_TRUE(opening->Show(SW_SHOWNORMAL));
  EXPECT_EQ(WindowText(child(Id::txtMailSubject)), "Quarterly");
  EXPECT_EQ(WindowText(child(Id::cboPrintPermission)), "Prevent printing");
  EXPECT_EQ(SendMessageA(child(Id::chkSendPDF), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_FALSE(IsWindowEnabled(child(Id::txtDefaultWatermarkFile)));
  EXPECT_FALSE(IsWindowVisible(child(Id::txtMailSubject))) << "a page behind is on the screen";
  EXPECT_EQ(changes.size(), 1u) << "building the page raised a change";
}

TEST_F(MainWindowTest, PickersFillTheirTextBoxOrLeaveItAlone) {
  ClickTab(Page::kFileName);
  const DialogView view = AnswerFileDialog("Select the Watermark PDF file", "C:\\stamp.pdf", [&] {
    SendMessageA(Child(Id::btnSelectWatermarkFile), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(view.owner, Frame());
  EXPECT_EQ(window->Text(Id::txtWatermarkFile), "C:\\stamp.pdf");
  // The path arrived through the edit control's change notification.
  EXPECT_TRUE(IsWindowEnabled(Child(Id::txtExcludeWatermarkPre)));

  window->SetText(Id::txtPDFFileName, "C:\\keep.pdf");
  EXPECT_EQ(AnswerFileDialog("Select the PDF file", "", [&] {
              SendMessageA(Child(Id::btnSelectPDFFileName), BM_CLICK, 0, 0);
            }).owner,
            Frame());
  EXPECT_EQ(window->Text(Id::txtPDFFileName), "C:\\keep.pdf");
}

// Every value under the keys the utility writes: "<key>\<name>" -> data.
std::map<std::string, std::vector<BYTE>> SnapshotRegistry() {
  const std::tuple<HKEY, REGSAM, const char*> keys[] = {
      {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "Software\\Marrowby\\Quillon"},
      {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Marrowby\\Quillon"},
      {HKEY_CURRENT_USER, 0, "Software\\Marrowby\\Quillon"},
      {HKEY_CURRENT_USER, 0, "Software\\VB and VBA Program Settings\\Marrowby\\Quillon"},
      {HKEY_LOCAL_MACHINE, 0, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment"}};
  std::map<std::string, std::vector<BYTE>> values;
  for (const auto& [root, view, path] : keys) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) continue;
    std::array<char, 256> name{};
    std::vector<BYTE> data(4096);
    for (DWORD index = 0;; ++index) {
      DWORD nameLength = static_cast<DWORD>(name.size());
      DWORD dataSize = static_cast<DWORD>(data.size());
      if (RegEnumValueA(key, index, name.data(), &nameLength, nullptr, nullptr, data.data(),
                        &dataSize) != ERROR_SUCCESS) {
        break;
      }
      values[std::to_string(view) + path + "\\" + name.data()].assign(data.data(),
                                                                       data.data() + dataSize);
    }
    RegCloseKey(key);
  }
  return values;
}

// Opens the window as the program does, fills in a few controls, closes it
// the given way, and expects the window gone and the registry as it was.
void ExpectClosedWithoutWriting(MainWindowTest& test, const std::function<void()>& close) {
  test.Load();
  test.ClickTab(Page::kFileName);
  Type(test.Child(Id::txtPDFFileName), "C:\\out.pdf");
  SendMessageA(test.Child(Id::chkApplyToAllUsers), BM_CLICK, 0, 0);
  test.window->SetText(Id::txtQuillonTEMP, "C:\\quillon-temp");
  const auto before = SnapshotRegistry();
  close();
  EXPECT_EQ(test.Frame(), nullptr);
  EXPECT_EQ(SnapshotRegistry(), before);
}

TEST_F(MainWindowTest, CancelClosesTheWindowWithoutWriting) {
  ExpectClosedWithoutWriting(*this, [&] { SendMessageA(Child(Id::Command2), BM_CLICK, 0, 0); });
}

// The close box, the system menu and Alt+F4 all arrive as SC_CLOSE.
TEST_F(MainWindowTest, CloseBoxClosesTheWindowWithoutWriting) {
  ExpectClosedWithoutWriting(*this, [&] { SendMessageA(Frame(), WM_SYSCOMMAND, SC_CLOSE, 0); });
}

TEST_F(MainWindowTest, WaitPointerHoldsOverTheControlsUntilRestored) {
  HWND edit = Child(Id::txtQuillonTEMP);
  const auto pointerOverEdit = [&] {
    SendMessageA(edit, WM_SETCURSOR, reinterpret_cast<WPARAM>(edit),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  window->ShowWaitPointer();
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_EQ(pointerOverEdit(), LoadCursorA(nullptr, IDC_WAIT));
  window->RestorePointer();
  EXPECT_EQ(pointerOverEdit(), LoadCursorA(nullptr, IDC_IBEAM));
}

}  // namespace
}  // namespace quillon
