#include "bench/bench_support.h"

#include <string.h>

#include <algorithm>
#include <chrono>

#include "core/viewer_state.h"

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t rank = (size_t)(p / 100.0 * (double)values.size() + 0.999999);
    if (rank < 1) rank = 1;
    if (rank > values.size()) rank = values.size();
    return values[rank - 1];
}

double Median(std::vector<double> values) { return Percentile(std::move(values), 50); }

std::string JoinBenchPath(const std::string& dir, const std::string& name) {
#ifdef _WIN32
    const char sep = '\\';
#else
    const char sep = '/';
#endif
    if (dir.empty() || dir.back() == '\\' || dir.back() == '/') return dir + name;
    return dir + sep + name;
}

bool SetBenchPath(const std::string& path) {
    if (path.size() >= PATH_BUFFER_SIZE) return false;
    memcpy(ViewerState.PathBuffer, path.c_str(), path.size() + 1);
    return true;
}
