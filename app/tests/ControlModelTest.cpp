// The in-memory window: it must start as the table says and notify text
// changes exactly as an edit control does, or every handler test built on it
// proves nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ControlTable.h"
#include "app/substitute/ControlModel.h"

namespace quillon {
namespace {

using Id = ControlId;

TEST(ControlModel, StartsInTheCreatedState) {
  const ControlModel model;
  for (const ControlSpec& spec : ControlTable()) {
    const bool editable =
        spec.kind == ControlKind::kTextBox || spec.kind == ControlKind::kComboBox;
    EXPECT_EQ(model.Text(spec.id), editable ? spec.created.text : spec.caption)
        << ControlName(spec.id);
    EXPECT_EQ(model.Enabled(spec.id), spec.created.enabled) << ControlName(spec.id);
    EXPECT_EQ(model.Visible(spec.id), spec.created.visible) << ControlName(spec.id);
    EXPECT_EQ(model.Value(spec.id), 0) << ControlName(spec.id);
  }
  EXPECT_EQ(model.ListItems(Id::cboPrintPermission),
            (std::vector<std::string>{"", "Allow printing", "Prevent printing"}));
}

TEST(ControlModel, NotifiesATextBoxOnlyWhenItsTextChanges) {
  ControlModel model;
  std::vector<Id> heard;
  model.SetChangeListener([&heard](Id id) { heard.push_back(id); });

  model.SetText(Id::txtMailBody, "hello");
  model.SetText(Id::txtMailBody, "hello");
  model.SetText(Id::txtExcludeWatermarkPre, "0");  // already "0"
  model.SetText(Id::txtMailBody, "");

  EXPECT_EQ(heard, (std::vector<Id>{Id::txtMailBody, Id::txtMailBody}));
  EXPECT_EQ(model.raisedChanges, heard);
  EXPECT_EQ(model.Text(Id::txtMailBody), "");
}

TEST(ControlModel, ComboTakesAnyTextWithoutNotifying) {
  ControlModel model;
  int heard = 0;
  model.SetChangeListener([&heard](Id) { ++heard; });

  model.SetText(Id::cboMergeCommand, "Concatenate");

  EXPECT_EQ(model.Text(Id::cboMergeCommand), "Concatenate");
  EXPECT_EQ(heard, 0);
}

}  // namespace
}  // namespace quillon
