#pragma once

#include "Core/Containers/String.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class FRivetConsole;

/**
 * A progress bar on the error stream for work that takes longer than a moment: it appears once the
 * work has run for a short while, moves until the indicator goes out of scope, then clears its line.
 * Work that reports a fraction gets a filling bar; other work a moving one with the time spent.
 * Drawn only when the error stream is a terminal.
 */
class FProgressIndicator
{
public:
    FProgressIndicator(FRivetConsole& Console, const FString& Label);
    ~FProgressIndicator();

    FProgressIndicator(const FProgressIndicator&) = delete;
    FProgressIndicator& operator=(const FProgressIndicator&) = delete;

    /** The share of the work done, from 0 to 1. */
    void SetFraction(double Fraction) { Done.store(Fraction); }

private:
    void Run();
    void Draw(double Seconds, int32 Frame);

    FRivetConsole& Console;
    FString Label;
    std::atomic<double> Done{-1.0};
    std::mutex Mutex;
    std::condition_variable Wake;
    bool bFinished = false;
    bool bDrawn = false;
    std::thread Drawer;
};
