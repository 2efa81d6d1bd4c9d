// Times key set-up and one-block encryption of our cipher against OpenSSL's in
// the same run, then prints our time over OpenSSL's for each task (medians
// when repetitions are asked for).
#include <openssl/blowfish.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "crypto/basBlowfish.h"

namespace quillon {
namespace {

constexpr double kRatioGoal = 1.1;
const Bytes kKey = {0x51, 0x75, 0x69, 0x6C, 0x6C, 0x6F, 0x6E, 0x20,
                    0x41, 0x64, 0x6D, 0x69, 0x6E, 0x4B, 0x65, 0x79};

void KeySetupOurs(benchmark::State& state) {
  KeyState key{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(SetKey(key, kKey));
    benchmark::ClobberMemory();
  }
}

void KeySetupOpenSsl(benchmark::State& state) {
  BF_KEY key;
  for (auto _ : state) {
    BF_set_key(&key, static_cast<int>(kKey.size()), kKey.data());
    benchmark::DoNotOptimize(key);
    benchmark::ClobberMemory();
  }
}

// Each block is the previous cipher block, so the timing is one encryption's
// latency, not several overlapping ones.
void BlockEncryptOurs(benchmark::State& state) {
  KeyState key{};
  SetKey(key, kKey);
  std::uint32_t left = 0x01234567;
  std::uint32_t right = 0x89ABCDEF;
  for (auto _ : state) {
    EncipherWords(key, left, right);
    benchmark::DoNotOptimize(left);
    benchmark::DoNotOptimize(right);
  }
}

void BlockEncryptOpenSsl(benchmark::State& state) {
  BF_KEY key;
  BF_set_key(&key, static_cast<int>(kKey.size()), kKey.data());
  BF_LONG block[2] = {0x01234567, 0x89ABCDEF};
  for (auto _ : state) {
    BF_encrypt(block, &key);
    benchmark::DoNotOptimize(block);
  }
}

struct Task {
  const char* name;
  void (*ours)(benchmark::State&);
  void (*openSsl)(benchmark::State&);
};

const Task kTasks[] = {
    {"KeySetup", KeySetupOurs, KeySetupOpenSsl},
    {"BlockEncrypt", BlockEncryptOurs, BlockEncryptOpenSsl},
};

// Shows the usual console table and keeps each benchmark's CPU time per
// iteration: the median when repetitions ran, otherwise the single run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (median || run.run_type == Run::RT_Iteration) {
        cpuTimes_[run.run_name.str()] = run.GetAdjustedCPUTime();
      }
    }
  }

  void PrintRatios() const {
    for (const Task& task : kTasks) {
      const auto ours = cpuTimes_.find(std::string(task.name) + "/Quillon");
      const auto openSsl = cpuTimes_.find(std::string(task.name) + "/OpenSSL");
      if (ours == cpuTimes_.end() || openSsl == cpuTimes_.end()) continue;
      const double ratio = ours->second / openSsl->second;
      std::printf("ratio %-12s Quillon/OpenSSL = %.3f (goal <= %.2f)%s\n", task.name, ratio,
                  kRatioGoal, ratio <= kRatioGoal ? "" : "  ABOVE GOAL");
    }
  }

 private:
  std::map<std::string, double> cpuTimes_;
};

}  // namespace
}  // namespace quillon

int main(int argc, char** argv) {
  for (const quillon::Task& task : quillon::kTasks) {
    benchmark::RegisterBenchmark((std::string(task.name) + "/Quillon").c_str(), task.ours);
    benchmark::RegisterBenchmark((std::string(task.name) + "/OpenSSL").c_str(), task.openSsl);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  quillon::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
