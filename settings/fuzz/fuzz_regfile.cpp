// Fuzzes the registry file reader with any bytes at all: it must neither
// crash nor read past its input, and every value it reads must come back
// the same when the export's writer writes it and the reader reads that.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings/RegFile.h"
#include "settings/RegFileReader.h"
#include "settings/substitute/OneByteCodePage.h"

namespace quillon {
namespace {

void Require(bool holds, const char* invariant) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", invariant);
  std::abort();
}

// Text the writer puts on one line as it stands: no line ends, NULs or blanks
// at either end, which the reader trims as the importer does.
bool WritesAsItStands(const std::string& text) {
  return std::ranges::none_of(text, [](char c) { return c == '\r' || c == '\n' || c == '\0'; }) &&
         (text.empty() || (text.front() != ' ' && text.back() != ' ' && text.front() != '\t' &&
                           text.back() != '\t'));
}

void CheckRoundTrip(const std::vector<RegFileOperation>& operations) {
  std::vector<RecordedChange> changes;
  for (const RegFileOperation& operation : operations) {
    if (operation.kind == RegFileOperation::Kind::RemoveKey || !operation.root ||
        !WritesAsItStands(operation.path) || !WritesAsItStands(operation.name)) {
      continue;
    }
    const bool set = operation.kind == RegFileOperation::Kind::SetValue;
    // The writer stores a text with its NUL, as the ANSI call does.
    if (set && IsStringType(operation.value.type) &&
        (operation.value.data.empty() || operation.value.data.back() != 0)) {
      continue;
    }
    changes.push_back({*operation.root, operation.path, RegistryView::Default, operation.name,
                       set ? std::optional(operation.value) : std::nullopt});
  }
  const std::string file = RegFileBytes({}, changes, WindowsWidth::Bits32, OneByteToUtf16);
  const RegFileRead again = ReadRegFile(file, Utf16ToOneByte, OneByteToUtf16);
  Require(again.error.empty(), "the writer's own file reads");
  Require(again.operations.size() >= changes.size(), "every written value is read back");
  for (const RecordedChange& change : changes) {
    const bool found = std::ranges::any_of(again.operations, [&](const RegFileOperation& read) {
      const bool set = read.kind == RegFileOperation::Kind::SetValue;
      return read.root == change.root && read.name == change.name &&
             set == change.value.has_value() &&
             (!set ||
              (read.value.type == change.value->type && read.value.data == change.value->data));
    });
    Require(found, "a written value reads back the same");
  }
}

}  // namespace
}  // namespace quillon

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const RegFileRead read = ReadRegFile(bytes, Utf16ToOneByte, OneByteToUtf16);
  Require(read.error.empty() || read.operations.empty(), "a refusal reads nothing");
  Require(read.error.empty() || read.errorLine <= size + 1, "the line at fault is in the file");
  for (const RegFileOperation& operation : read.operations) {
    Require(operation.line >= 2 && operation.line <= size, "each operation names its line");
  }
  if (read.error.empty()) CheckRoundTrip(read.operations);
  return 0;
}
