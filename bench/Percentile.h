// Percentiles of measured samples, for the benchmarks.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

// Percentile (0..100) of `values`, which it sorts.
inline double Percentile(std::vector<double>& values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto idx = static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(idx, values.size() - 1)];
}

}  // namespace bench
