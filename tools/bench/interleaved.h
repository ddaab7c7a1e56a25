#pragma once
// Two searches timed side by side on the same queries: each query runs both, their
// order alternating from query to query, so that a load on the machine falls on both
// alike. Passes over all queries are repeated and the medians reported.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

namespace koltar {

struct SideBySide {
  double firstMs = 0;   // median per pass, per query
  double secondMs = 0;  // median per pass, per query
  double ratio = 0;     // median of the passes' first / second
};

// Runs first(q) and second(q) for q = 0 ... queries - 1, `passes` times.
template <typename First, typename Second>
SideBySide TimeSideBySide(int passes, int queries, First&& first, Second&& second) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> a, b, ratio;
  for (int p = 0; p < passes; ++p) {
    Clock::duration ta{}, tb{};
    for (int q = 0; q < queries; ++q) {
      for (int turn = 0; turn < 2; ++turn) {
        const bool runFirst = (turn == 0) == (q % 2 == 0);
        const Clock::time_point t0 = Clock::now();
        if (runFirst)
          first(q);
        else
          second(q);
        (runFirst ? ta : tb) += Clock::now() - t0;
      }
    }
    const double ma = std::chrono::duration<double, std::milli>(ta).count() / queries;
    const double mb = std::chrono::duration<double, std::milli>(tb).count() / queries;
    a.push_back(ma);
    b.push_back(mb);
    ratio.push_back(ma / mb);
  }
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  return SideBySide{median(a), median(b), median(ratio)};
}

}  // namespace koltar
