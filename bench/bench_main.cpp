// Main of every benchmark program. Benchmarks are named
// "<case>/<implementation>[/<arguments>]"; the implementation "ours" is
// Tessiv's, any other name is a baseline doing the same work. After the
// usual console table the program prints, for each case, the speed of ours
// relative to each baseline: baseline time / our time (above 1: we are faster).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Timing {
    std::string implementation;
    double seconds_per_iteration;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(std::vector<Run> const &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (Run const &run : runs) {
            if (run.error_occurred || run.iterations == 0)
                continue;
            // A repeated benchmark counts by the median of its repetitions,
            // which one disturbed repetition does not move.
            if (run.repetitions > 1 && run.run_type != Run::RT_Aggregate)
                continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            // The name and arguments, without the run settings (minimum time,
            // repetitions) and the aggregate's suffix.
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += "/" + run.run_name.args;
            // Split "<case>/<implementation>/<arguments>".
            std::size_t first = name.find('/');
            if (first == std::string::npos)
                continue;
            std::size_t second = name.find('/', first + 1);
            std::string implementation = name.substr(first + 1, second == std::string::npos
                                                                    ? std::string::npos
                                                                    : second - first - 1);
            std::string key = name.substr(0, first);
            if (second != std::string::npos)
                key += name.substr(second);
            double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            cases_[key].push_back({implementation, seconds});
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        bool header = false;
        for (auto const &[key, timings] : cases_) {
            Timing const *ours = nullptr;
            for (Timing const &timing : timings)
                if (timing.implementation == "ours")
                    ours = &timing;
            if (ours == nullptr)
                continue;
            for (Timing const &baseline : timings) {
                if (&baseline == ours)
                    continue;
                if (!header) {
                    std::printf("\nSpeed ratios (baseline time / our time; above 1 we are faster)\n");
                    header = true;
                }
                std::printf("RATIO %-44s vs %-18s %7.3f   (ours %.4g s, baseline %.4g s)\n",
                            key.c_str(), baseline.implementation.c_str(),
                            baseline.seconds_per_iteration / ours->seconds_per_iteration,
                            ours->seconds_per_iteration, baseline.seconds_per_iteration);
            }
        }
        std::fflush(stdout);
    }

private:
    std::map<std::string, std::vector<Timing>> cases_;
};

}  // namespace

int main(int argc, char **argv)
{
    // Repetitions run interleaved in random order unless told otherwise, so a
    // drift in the machine's speed falls on ours and the baselines alike.
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char *> arguments(argv, argv + argc);
    bool told = false;
    for (char *argument : arguments)
        told = told || std::string(argument).rfind("--benchmark_enable_random_interleaving", 0) == 0;
    if (!told)
        arguments.insert(arguments.begin() + (argc > 0 ? 1 : 0), interleave);
    arguments.push_back(nullptr);
    argc = static_cast<int>(arguments.size()) - 1;
    argv = arguments.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
