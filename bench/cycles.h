// Rates of a polling loop from the times its requests were complete on the
// line: over the run between its first and last request (start and stop
// left out), and from the median cycle (the rate where nothing stalls it).
#pragma once

#include <algorithm>
#include <vector>

struct CycleRates {
  double steadyPerSecond = -1;
  double medianPerSecond = -1;
};

inline CycleRates RatesOfRequests(const std::vector<double> &times) {
  CycleRates rates;
  if (times.size() < 3) return rates;
  rates.steadyPerSecond = static_cast<double>(times.size() - 1) / (times.back() - times.front());
  std::vector<double> cycles(times.size() - 1);
  for (std::size_t i = 0; i + 1 < times.size(); ++i) cycles[i] = times[i + 1] - times[i];
  const auto middle = cycles.begin() + static_cast<std::ptrdiff_t>(cycles.size() / 2);
  std::nth_element(cycles.begin(), middle, cycles.end());
  if (*middle > 0) rates.medianPerSecond = 1.0 / *middle;
  return rates;
}
