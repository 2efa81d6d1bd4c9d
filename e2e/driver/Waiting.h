#pragma once
// Bounded waiting. Every wait of the suite names what it waits for, polls,
// and gives up after a time-out with a failure that says what never came, so
// that a program that stops answering fails its scenario instead of hanging
// the run.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace quillon::e2e {

using Milliseconds = std::chrono::milliseconds;

// Long enough for a cold Wine to start a program and draw a window; short
// enough that a hung scenario costs little of the run.
inline constexpr Milliseconds kPatience{20000};
inline constexpr Milliseconds kPollInterval{20};

// Polls until `condition` holds. On a time-out it adds a failure naming
// `what` and returns false; the caller stops its scenario.
template <typename Condition>
[[nodiscard]] bool WaitUntil(const std::string& what, Condition condition,
                             Milliseconds patience = kPatience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      ADD_FAILURE() << "timed out after " << patience.count() << " ms waiting for " << what;
      return false;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  return true;
}

// Polls for `span` and tells whether `condition` held at every look: for
// things that must not happen (a window closing on Esc, a box appearing).
template <typename Condition>
[[nodiscard]] bool HoldsThroughout(Condition condition, Milliseconds span) {
  const auto end = std::chrono::steady_clock::now() + span;
  while (std::chrono::steady_clock::now() < end) {
    if (!condition()) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
  return condition();
}

}  // namespace quillon::e2e
