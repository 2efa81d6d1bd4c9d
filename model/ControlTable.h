#pragma once
// The main window as data: the window itself, its tab control and every
// control on and beside the pages, with caption, tool tip, list items, state
// at creation, position in twips and tab order. The portable model, the Win32
// window (which creates its controls by walking this table) and the tests all
// read this one table.
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "model/ControlId.h"
#include "platform/Version.h"

namespace quillon {

enum class ControlKind { kTextBox, kCheckBox, kComboBox, kButton, kLabel };

// The five pages in the order of their tabs.
enum class Page { kFileSave, kEmail, kFileName, kTroubleshooting, kSecurity };

inline constexpr std::size_t kPageCount = 5;

// Positions and sizes in twips (1/1440 inch) from the top-left corner of the
// window's client area.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The state of a control before the load fills the window. Check boxes are
// always created clear, so there is no value here.
struct CreatedState {
  std::string_view text{};  // text boxes and combo boxes only
  bool enabled = true;
  bool visible = true;
  char passwordChar = '\0';  // '\0': the text box shows its text
};

struct ControlDefinition {
  ControlId id{};
  ControlKind kind{};
  std::optional<Page> page{};  // none for Apply and Cancel, which sit on every page
  std::string_view caption{};  // labels, check boxes and buttons
  std::string_view toolTip{};
  std::span<const std::string_view> listItems{};  // combo boxes only
  CreatedState created{};
  TwipsRect rect{};
  std::optional<int> tabOrder{};  // none for labels, which take no focus
};

struct WindowDefinition {
  std::string_view name{};
  std::string_view title{};
  int clientWidth = 0;  // twips
  int clientHeight = 0;
};

struct TabControlDefinition {
  std::string_view name{};
  TwipsRect rect{};
  int tabHeight = 0;  // twips
  std::array<std::string_view, kPageCount> tabCaptions{};  // indexed by Page
  Page initialPage{};
  int tabOrder = 0;
};

inline constexpr WindowDefinition kMainWindow{
    .name = "AdminUtilityMain",
    .title = QUILLON_PRODUCT_NAME " " QUILLON_VERSION_TEXT,
    .clientWidth = 7332,
    .clientHeight = 6348,
};

// A little taller than the client area (6372 against 6348): the bottom edge
// of the tab control is simply cut off by the window.
inline constexpr TabControlDefinition kTabControl{
    .name = "SSTab1",
    .rect = {0, 0, 7332, 6372},
    .tabHeight = 520,
    .tabCaptions = {"File Save", "Email", "File Name", "Troubleshooting", "Security"},
    .initialPage = Page::kTroubleshooting,
    .tabOrder = 2,
};

// Items of the combo boxes, spelled here only: the controls table lists
// them, and the load and Apply name the ones they show and store.
inline constexpr std::string_view kAppendItem = "Append";
inline constexpr std::string_view kPrependItem = "Prepend";
inline constexpr std::string_view kOverlayItem = "Overlay";
inline constexpr std::string_view kForegroundItem = "Foreground";
inline constexpr std::string_view kBackgroundItem = "Background";
inline constexpr std::string_view kNoEncryptionItem = "No Encryption";
inline constexpr std::string_view k40BitEncryptionItem = "40 Bit Encryption";
inline constexpr std::string_view k128BitEncryptionItem = "128 Bit Encryption";
inline constexpr std::string_view k256BitEncryptionItem = "256 Bit Encryption";
inline constexpr std::string_view kAllowPrintingItem = "Allow printing";
inline constexpr std::string_view kPreventPrintingItem = "Prevent printing";
inline constexpr std::string_view kAllowCopyingItem = "Allow copying";
inline constexpr std::string_view kPreventCopyingItem = "Prevent copying";
inline constexpr std::string_view kAllowModificationItem = "Allow modification";
inline constexpr std::string_view kPreventModificationItem = "Prevent modification";

// Every control, in ControlId order.
std::span<const ControlDefinition> ControlTable();

const ControlDefinition& DefinitionOf(ControlId id);

// Whether a control is on the screen while `page` is shown: created visible,
// and on that page or beside all of them.
constexpr bool OnScreen(const ControlDefinition& definition, Page page) {
  return definition.created.visible && (!definition.page || *definition.page == page);
}

}  // namespace quillon
