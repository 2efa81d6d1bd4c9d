// One load and one Apply pass of the main window on the substitute registry,
// timed, with the registry calls each makes counted by kind. The counts are
// the figures to watch: on Windows each call is a system call, so they, not
// the in-memory time, decide how long the window takes to open and to apply.
#include <benchmark/benchmark.h>

#include <array>
#include <optional>
#include <string>
#include <utility>

#include "model/AdminUtilityMain.h"
#include "model/ControlModel.h"
#include "model/substitute/RecordedOpenFileDialog.h"
#include "model/substitute/RecordedPrinters.h"
#include "crypto/substitute/SubstituteHelperLibrary.h"
#include "platform/substitute/RecordedMessageBoxes.h"
#include "settings/SettingLocations.h"
#include "settings/substitute/RecordedEnvironmentBroadcast.h"
#include "settings/substitute/SubstituteRegistry.h"

namespace quillon {
namespace {

using Windows = SubstituteRegistry::Windows;

constexpr std::array<std::pair<RegistryCall, const char*>, 6> kCallKinds{{
    {RegistryCall::CreateKey, "CreateKey"},
    {RegistryCall::OpenKey, "OpenKey"},
    {RegistryCall::QueryValue, "QueryValue"},
    {RegistryCall::SetValue, "SetValue"},
    {RegistryCall::DeleteValue, "DeleteValue"},
    {RegistryCall::CloseKey, "CloseKey"},
}};

// A machine set up by an administrator: a few settings for all users and one
// for the current user.
struct Machine {
  explicit Machine(Windows windows) : registry(windows) {
    const auto text = [this](const Location& at, const char* name, const std::string& value) {
      registry.PutValue(at.root, at.path, RegistryView::Default, name, kRegSz, TextBytes(value));
    };
    const auto number = [this](const Location& at, const char* name, std::int32_t value) {
      registry.PutValue(at.root, at.path, RegistryView::Default, name, kRegDword,
                        DwordBytes(value));
    };
    text(kMachineProductKey, "Default Path", "C:\\PDF");
    text(kMachineProductKey, "PDFDefaultFileName", "C:\\PDF\\out.pdf");
    text(kMachineProductKey, "PDFWatermarkFile", "C:\\PDF\\mark.pdf");
    text(kUserProductKey, "Default Post Action", "C:\\Tools\\post.exe \"%s\"");
    number(kMachineProductKey, "disabled options", 0x7E00001);
    number(kMachineProductKey, "default options mask", 0x2018);
    number(kMachineProductKey, "file options", 0x800);
  }

  AdminUtilityMain& Open() {
    window.emplace(AdminUtilityPorts{.controls = controls,
                                     .openFileDialog = dialog,
                                     .numberSeparators = {.decimal = ".", .group = ","},
                                     .registry = registry,
                                     .messageBoxes = messages,
                                     .printers = printers,
                                     .environmentBroadcast = broadcast,
                                     .helperLibrary = helperLibrary});
    window->Form_Load();
    return *window;
  }

  SubstituteRegistry registry;
  ControlModel controls;
  RecordedOpenFileDialog dialog;
  RecordedMessageBoxes messages;
  RecordedPrinters printers{{"Quillon"}, "Quillon"};
  RecordedEnvironmentBroadcast broadcast;
  SubstituteHelperLibrary helperLibrary;
  std::optional<AdminUtilityMain> window;
};

void CountCalls(benchmark::State& state, const SubstituteRegistry& registry,
                const std::array<int, kCallKinds.size()>& before) {
  int total = 0;
  for (std::size_t i = 0; i < kCallKinds.size(); ++i) {
    const int calls = registry.CallCount(kCallKinds[i].first) - before[i];
    state.counters[kCallKinds[i].second] = calls;
    total += calls;
  }
  state.counters["calls"] = total;
}

std::array<int, kCallKinds.size()> CallsSoFar(const SubstituteRegistry& registry) {
  std::array<int, kCallKinds.size()> counts{};
  for (std::size_t i = 0; i < kCallKinds.size(); ++i) {
    counts[i] = registry.CallCount(kCallKinds[i].first);
  }
  return counts;
}

Windows WindowsOf(const benchmark::State& state) {
  return state.range(0) == 64 ? Windows::Bits64 : Windows::Bits32;
}

void FormLoad(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Machine machine(WindowsOf(state));
    const auto before = CallsSoFar(machine.registry);
    state.ResumeTiming();
    machine.Open();
    state.PauseTiming();
    CountCalls(state, machine.registry, before);
    state.ResumeTiming();
  }
}

void ApplySettings(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Machine machine(WindowsOf(state));
    AdminUtilityMain& window = machine.Open();
    machine.controls.SetText(ControlId::txtMailSubject, "Your PDF");
    const auto before = CallsSoFar(machine.registry);
    state.ResumeTiming();
    benchmark::DoNotOptimize(window.ApplySettings());
    state.PauseTiming();
    CountCalls(state, machine.registry, before);
    state.ResumeTiming();
  }
}

BENCHMARK(FormLoad)->Arg(32)->Arg(64)->ArgName("bits");
BENCHMARK(ApplySettings)->Arg(32)->Arg(64)->ArgName("bits");

}  // namespace
}  // namespace quillon

BENCHMARK_MAIN();
