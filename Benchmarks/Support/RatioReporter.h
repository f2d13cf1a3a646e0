#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

/**
 * The console report, followed by a table that gives every benchmark's median time over its
 * repetitions as a multiple of the baseline benchmark's median in the same run, so that results can
 * be compared across machines. The names in the table are the function and its arguments
 * ("MergeSlot/708").
 */
class FRatioReporter : public benchmark::ConsoleReporter
{
public:
    explicit FRatioReporter(std::string InBaselineName) : BaselineName(std::move(InBaselineName)) {}

    void ReportRuns(const std::vector<Run>& Runs) override
    {
        ConsoleReporter::ReportRuns(Runs);
        for (const Run& Result : Runs)
        {
            if (Result.run_type == Run::RT_Iteration && !Result.error_occurred)
            {
                const std::string& Arguments = Result.run_name.args;
                const std::string Name =
                    Result.run_name.function_name + (Arguments.empty() ? "" : "/" + Arguments);
                if (!Times.contains(Name))
                {
                    Order.push_back(Name);
                }
                Times[Name].push_back(Result.GetAdjustedRealTime());
            }
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto Baseline = Times.find(BaselineName);
        const double BaselineTime = Baseline == Times.end() ? 0.0 : Median(Baseline->second);
        if (BaselineTime <= 0.0)
        {
            GetOutputStream() << "\nNo ratios: the baseline " << BaselineName << " did not run.\n";
            return;
        }
        GetOutputStream() << "\nTime as a multiple of " << BaselineName << ":\n";
        for (const std::string& Name : Order)
        {
            char Line[256];
            std::snprintf(Line, sizeof(Line), "  %-60s %8.2f\n", Name.c_str(),
                          Median(Times[Name]) / BaselineTime);
            GetOutputStream() << Line;
        }
    }

private:
    static double Median(std::vector<double> Values)
    {
        std::nth_element(Values.begin(), Values.begin() + Values.size() / 2, Values.end());
        return Values[Values.size() / 2];
    }

    std::string BaselineName;
    std::vector<std::string> Order;
    std::map<std::string, std::vector<double>> Times;
};

/** The main function of a benchmark program whose ratios are taken against BaselineName. */
inline int RunBenchmarksWithRatios(int ArgCount, char** Args, const char* BaselineName)
{
    benchmark::Initialize(&ArgCount, Args);
    if (benchmark::ReportUnrecognizedArguments(ArgCount, Args))
    {
        return 1;
    }
    FRatioReporter Reporter(BaselineName);
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    benchmark::Shutdown();
    return 0;
}
