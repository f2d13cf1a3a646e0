#pragma once

#include "Support/Baselines.h"
#include "Support/GridSizes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <malloc.h>
#include <map>
#include <string>
#include <vector>

/** Reports, as the run's "PeakBytes", the most bytes allocated within its scope beyond what was live. */
class FPeakAllocationReport
{
public:
    explicit FPeakAllocationReport(benchmark::State& InState) : State(InState) {}
    ~FPeakAllocationReport() { State.counters["PeakBytes"] = static_cast<double>(Peak.Bytes()); }

private:
    benchmark::State& State;
    FPeakAllocation Peak;
};

/** A derived row: the time of one path less that of another (an operation without one of its stages). */
struct FDifferenceRow
{
    std::string Name;
    std::string Path;
    std::string Less;
};

/**
 * The console report, followed by one table row per measured path: its median CPU time (user and system
 * time of the measuring thread, which other programs on a shared machine disturb far less than the wall
 * clock) at each grid size
 * (the warm-up runs dropped), the time per triangle at the largest size over that at the smallest
 * ("growth", 1.00 is linear), the time at the reference size (a million triangles, or the smallest size
 * in a quick run) as a multiple of the floor and of the structured copy measured in the same run, the peak
 * bytes the path allocated there as a multiple of the description's bytes, and, for the baselines, the
 * description's bytes per triangle.
 */
class FBenchmarkTable : public benchmark::ConsoleReporter
{
public:
    /** What is printed: the console report and the table, the table alone, or only its rows. */
    enum class EOutput
    {
        Full,
        Table,
        Rows
    };

    FBenchmarkTable(std::string InProgram, EOutput InOutput, std::vector<FDifferenceRow> InDifferences)
        : Program(std::move(InProgram)), Output(InOutput), Differences(std::move(InDifferences))
    {
    }

    bool ReportContext(const Context& RunContext) override
    {
        return Output != EOutput::Full || ConsoleReporter::ReportContext(RunContext);
    }

    void ReportRuns(const std::vector<Run>& Runs) override
    {
        if (Output == EOutput::Full)
        {
            ConsoleReporter::ReportRuns(Runs);
        }
        for (const Run& Result : Runs)
        {
            if (Result.run_type != Run::RT_Iteration || Result.error_occurred)
            {
                continue;
            }
            FPath& Path = PathNamed(Result.run_name.function_name);
            FSize& Size = Path.Sizes[std::stoi(Result.run_name.args)];
            if (Size.Seen++ < WarmUpRuns)
            {
                continue;
            }
            Size.Milliseconds.push_back(Result.GetAdjustedCPUTime() *
                                        benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                                        benchmark::GetTimeUnitMultiplier(Result.time_unit));
            for (const char* Counter : {"PeakBytes", "Bytes"})
            {
                if (const auto Found = Result.counters.find(Counter); Found != Result.counters.end())
                {
                    double& Value = Counter[0] == 'P' ? Size.PeakBytes : Size.Bytes;
                    Value = std::max(Value, Found->second.value);
                }
            }
        }
    }

    void Finalize() override
    {
        if (Output == EOutput::Full)
        {
            ConsoleReporter::Finalize();
            std::fputs("\n", stdout);
        }
        if (Output != EOutput::Rows)
        {
            PrintHeader();
        }
        for (const FDifferenceRow& Difference : Differences)
        {
            AddDifference(Difference);
        }
        for (const FPath& Path : Paths)
        {
            PrintRow(Path);
        }
        std::fflush(stdout);
    }

    void PrintHeader() const
    {
        const char* At = ReferenceSize() == LargeGrid ? "@1M" : "@250k";
        std::printf("%-52s %9s %9s %9s %7s %11s %11s %14s %9s\n", "path", "250k ms", "1M ms", "4M ms", "growth",
                    ("x floor" + std::string(At)).c_str(), ("x copy" + std::string(At)).c_str(),
                    ("peak/desc" + std::string(At)).c_str(), "bytes/tri");
    }

private:
    struct FSize
    {
        int32 Seen = 0;
        std::vector<double> Milliseconds;
        double PeakBytes = 0.0;
        double Bytes = 0.0;
    };

    struct FPath
    {
        std::string Name;
        std::map<int32, FSize> Sizes;
    };

    FPath& PathNamed(const std::string& Name)
    {
        for (FPath& Path : Paths)
        {
            if (Path.Name == Name)
            {
                return Path;
            }
        }
        return Paths.emplace_back(FPath{Name, {}});
    }

    void AddDifference(const FDifferenceRow& Difference)
    {
        FPath Derived{Difference.Name, {}};
        for (const int32 Quads : {QuarterGrid, LargeGrid, HugeGrid})
        {
            const FSize* Whole = Find(Difference.Path, Quads);
            const FSize* Part = Find(Difference.Less, Quads);
            if (Whole && Part)
            {
                FSize& Size = Derived.Sizes[Quads];
                Size.Milliseconds = {Median(Whole->Milliseconds) - Median(Part->Milliseconds)};
                Size.PeakBytes = Whole->PeakBytes;
            }
        }
        Paths.push_back(std::move(Derived));
    }

    static double Median(std::vector<double> Values)
    {
        if (Values.empty())
        {
            return 0.0;
        }
        std::nth_element(Values.begin(), Values.begin() + Values.size() / 2, Values.end());
        return Values[Values.size() / 2];
    }

    const FSize* Find(const std::string& Name, int32 Quads) const
    {
        for (const FPath& Path : Paths)
        {
            if (Path.Name == Name)
            {
                const auto Found = Path.Sizes.find(Quads);
                return Found == Path.Sizes.end() || Found->second.Milliseconds.empty() ? nullptr
                                                                                       : &Found->second;
            }
        }
        return nullptr;
    }

    /** A million triangles when measured, else the smallest size. */
    int32 ReferenceSize() const { return Find(FloorName, LargeGrid) ? LargeGrid : QuarterGrid; }

    static std::string Cell(bool bKnown, const char* Format, double Value)
    {
        if (!bKnown)
        {
            return "-";
        }
        char Text[32];
        std::snprintf(Text, sizeof(Text), Format, Value);
        return Text;
    }

    void PrintRow(const FPath& Path) const
    {
        const FSize* Sizes[3] = {Find(Path.Name, QuarterGrid), Find(Path.Name, LargeGrid),
                                 Find(Path.Name, HugeGrid)};
        const int32 Reference = ReferenceSize();
        const FSize* AtReference = Find(Path.Name, Reference);
        const FSize* Floor = Find(FloorName, Reference);
        const FSize* Copy = Find(CopyName, Reference);
        const double Time = AtReference ? Median(AtReference->Milliseconds) : 0.0;
        const double Description = Copy ? Copy->Bytes : 0.0;
        const auto PerTriangle = [&](int32 Index, int32 Quads)
        { return Median(Sizes[Index]->Milliseconds) / static_cast<double>(GridTriangles(Quads)); };
        const std::string Name = Program + ": " + Path.Name;
        std::printf("%-52s %9s %9s %9s %7s %11s %11s %14s %9s\n", Name.c_str(),
                    Cell(Sizes[0], "%.1f", Sizes[0] ? Median(Sizes[0]->Milliseconds) : 0.0).c_str(),
                    Cell(Sizes[1], "%.1f", Sizes[1] ? Median(Sizes[1]->Milliseconds) : 0.0).c_str(),
                    Cell(Sizes[2], "%.1f", Sizes[2] ? Median(Sizes[2]->Milliseconds) : 0.0).c_str(),
                    Cell(Sizes[0] && Sizes[2], "%.2f",
                         Sizes[0] && Sizes[2] ? PerTriangle(2, HugeGrid) / PerTriangle(0, QuarterGrid) : 0.0)
                        .c_str(),
                    Cell(AtReference && Floor, "%.2f", Floor ? Time / Median(Floor->Milliseconds) : 0.0).c_str(),
                    Cell(AtReference && Copy, "%.2f", Copy ? Time / Median(Copy->Milliseconds) : 0.0).c_str(),
                    Cell(AtReference && AtReference->PeakBytes > 0.0 && Description > 0.0, "%.2f",
                         AtReference && Description > 0.0 ? AtReference->PeakBytes / Description : 0.0)
                        .c_str(),
                    Cell(AtReference && AtReference->Bytes > 0.0, "%.0f",
                         AtReference ? AtReference->Bytes / static_cast<double>(GridTriangles(Reference)) : 0.0)
                        .c_str());
    }

    std::string Program;
    EOutput Output;
    std::vector<FDifferenceRow> Differences;
    std::vector<FPath> Paths;
};

/**
 * Has the allocator keep what is freed for the next allocation instead of handing it back to the system:
 * memory the system hands out again is faulted in page by page on first touch, which on virtual machines
 * costs more than the work itself. Warm runs then measure the work, as the floor does.
 */
inline void KeepFreedMemory()
{
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
}

/**
 * The main function of a benchmark program: registers the baselines on the program's description and
 * runs every benchmark; Differences adds derived rows. Besides Google Benchmark's flags it takes --quick (the smallest grid only),
 * --table-only (the table without the console report) and --rows-only (its rows alone, for scripts/bench).
 */
inline int RunBenchmarkTable(int ArgCount, char** Args, FDescriptionOfSize DescriptionOfSize,
                             std::vector<FDifferenceRow> Differences = {})
{
    std::vector<char*> Kept;
    bool bQuick = false;
    std::string Filter = ".";
    FBenchmarkTable::EOutput Output = FBenchmarkTable::EOutput::Full;
    for (int Index = 0; Index < ArgCount; ++Index)
    {
        if (std::strcmp(Args[Index], "--quick") == 0)
        {
            bQuick = true;
        }
        else if (std::strcmp(Args[Index], "--table-only") == 0)
        {
            Output = FBenchmarkTable::EOutput::Table;
        }
        else if (std::strcmp(Args[Index], "--rows-only") == 0)
        {
            Output = FBenchmarkTable::EOutput::Rows;
        }
        else if (std::strncmp(Args[Index], "--benchmark_filter=", 19) == 0)
        {
            Filter = Args[Index] + 19;
        }
        else
        {
            Kept.push_back(Args[Index]);
        }
    }
    // A quick run keeps to the smallest grid within whatever the filter asks for.
    static std::string FilterFlag;
    FilterFlag = "--benchmark_filter=" +
                 (bQuick ? "(" + Filter + ").*/" + std::to_string(QuarterGrid) + "/" : Filter);
    Kept.push_back(FilterFlag.data());
    int KeptCount = static_cast<int>(Kept.size());
    benchmark::Initialize(&KeptCount, Kept.data());
    if (benchmark::ReportUnrecognizedArguments(KeptCount, Kept.data()))
    {
        return 1;
    }
    KeepFreedMemory();
    RegisterBaselines(DescriptionOfSize);
    std::string Program = Args[0];
    Program = Program.substr(Program.find_last_of('/') + 1);
    Program = Program.substr(0, Program.rfind("Benchmark"));
    FBenchmarkTable Table(Program, Output, std::move(Differences));
    benchmark::RunSpecifiedBenchmarks(&Table);
    benchmark::Shutdown();
    return 0;
}
