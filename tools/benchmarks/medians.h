// The benchmarks' summaries: the machine may be shared, so each figure is a median over rounds,
// and a ratio is the median of each round's ratio to the baseline timed in that same round.
#pragma once

#include <algorithm>
#include <vector>

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

inline double MedianRatio(const std::vector<double>& figures, const std::vector<double>& baseline) {
  std::vector<double> ratios;
  for (size_t i = 0; i < figures.size(); ++i) ratios.push_back(figures[i] / baseline[i]);
  return Median(ratios);
}
