// Runs the registered benchmarks and prints, after Google Benchmark's own table, the ratio of
// each measured case to its baseline from the same run. Machines here are shared and noisy,
// so only ratios are compared, never bare times.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench_support {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
    }
    double Time(const std::string& name) const {
        const auto found = times_.find(name);
        return found == times_.end() ? 0.0 : found->second;
    }

private:
    std::map<std::string, double> times_;
};

// pairs: (measured, baseline, goal). Returns 0.
inline int RunWithRatios(int argc, char** argv,
                         const std::vector<std::pair<std::string, std::string>>& pairs,
                         const std::vector<double>& goals) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-28s %-28s %10s %10s %8s %6s\n", "measured", "baseline", "measured", "baseline",
                "ratio", "goal");
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const double m = reporter.Time(pairs[i].first);
        const double b = reporter.Time(pairs[i].second);
        if (m <= 0 || b <= 0) continue;
        std::printf("%-28s %-28s %10.3g %10.3g %8.2f %5.2fx\n", pairs[i].first.c_str(),
                    pairs[i].second.c_str(), m, b, m / b, goals[i]);
    }
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench_support
