// Shared helpers of the benchmarks: a monotonic clock, medians, paths with the
// platform's separator.
#pragma once
#include <string>
#include <vector>

double NowMs();
// Median and the p-th percentile (0..100, nearest rank) of the values; 0 when empty.
double Median(std::vector<double> values);
double Percentile(std::vector<double> values, double p);
std::string JoinBenchPath(const std::string& dir, const std::string& name);
// Puts path into PathBuffer; false when it does not fit.
bool SetBenchPath(const std::string& path);
