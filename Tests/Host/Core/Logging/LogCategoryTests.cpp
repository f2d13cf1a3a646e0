#include "Core/Logging/LogMacros.h"
#include "Core/Logging/ScopedLogCapture.h"

#include <gtest/gtest.h>

VT_DEFINE_LOG_CATEGORY_STATIC(LogRivetTestDefault, Log, All);
VT_DEFINE_LOG_CATEGORY_STATIC(LogRivetTestQuiet, Warning, All);
VT_DEFINE_LOG_CATEGORY_STATIC(LogRivetTestCapped, Log, Display);

namespace
{
/** Restores a category's verbosity when a test ends, passed or not. */
struct FVerbosityGuard
{
    FLogCategory& Category;
    ~FVerbosityGuard() { Category.ResetVerbosity(); }
};
} // namespace

TEST(LogCategory, RunTimeVerbosityChangesWithinTheCompileTimeVerbosity)
{
    FVerbosityGuard Guard{LogRivetTestQuiet};
    FVerbosityGuard CappedGuard{LogRivetTestCapped};
    EXPECT_EQ(LogRivetTestQuiet.GetCategoryName(), FName("LogRivetTestQuiet"));
    EXPECT_EQ(LogRivetTestQuiet.GetVerbosity(), ELogVerbosity::Warning);
    EXPECT_FALSE(LogRivetTestQuiet.IsSuppressed(ELogVerbosity::Error));
    EXPECT_TRUE(LogRivetTestQuiet.IsSuppressed(ELogVerbosity::Display));

    FScopedLogCapture Capture;
    LogRivetTestQuiet.SetVerbosity(ELogVerbosity::Verbose);
    EXPECT_FALSE(LogRivetTestQuiet.IsSuppressed(ELogVerbosity::Verbose));
    VT_LOG(LogRivetTestQuiet, Verbose, "shown");
    EXPECT_EQ(Capture.CountLines("LogRivetTestQuiet", ELogVerbosity::Verbose), 1)
        << "the macro sees the change";
    LogRivetTestQuiet.ResetVerbosity();
    EXPECT_EQ(LogRivetTestQuiet.GetVerbosity(), ELogVerbosity::Warning);

    static_assert(decltype(LogCore)::CompileTimeVerbosity == ELogVerbosity::All);
    static_assert(decltype(LogRivetTestCapped)::CompileTimeVerbosity == ELogVerbosity::Display);
    LogRivetTestCapped.SetVerbosity(ELogVerbosity::All);
    EXPECT_EQ(LogRivetTestCapped.GetVerbosity(), ELogVerbosity::Display);
}

TEST(LogMacro, SuppressedLinesAreNeverFormed)
{
    FVerbosityGuard Guard{LogRivetTestCapped};
    FScopedLogCapture Capture;
    int32 Evaluated = 0;

    VT_LOG(LogRivetTestQuiet, Display, "%d", ++Evaluated);
    VT_LOG(LogRivetTestDefault, Verbose, "%d", ++Evaluated);
    VT_LOG(LogRivetTestCapped, VeryVerbose, "%d", ++Evaluated);
    VT_LOG(LogRivetTestDefault, NoLogging, "%d", ++Evaluated);
    EXPECT_EQ(Evaluated, 0);
    EXPECT_TRUE(Capture.GetLines().IsEmpty());

    VT_LOG(LogRivetTestQuiet, Error, "%d", ++Evaluated);
    EXPECT_EQ(Evaluated, 1);
    EXPECT_EQ(Capture.GetLines().Num(), 1);
}

TEST(LogMacroDeathTest, FatalLogsAndStops)
{
    EXPECT_DEATH(VT_LOG(LogRivetTestDefault, Fatal, "cannot bake pose %d", 7), "cannot bake pose 7");
}
