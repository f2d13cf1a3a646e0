#pragma once

#include "Core/Containers/String.h"

#include <condition_variable>
#include <mutex>
#include <thread>

class FRivetConsole;

/**
 * A progress bar on the error stream for work that takes longer than a moment: it appears once the
 * work has run for a short while, moves (with the time spent) until the indicator goes out of scope,
 * then clears its line. Drawn only when the error stream is a terminal.
 */
class FProgressIndicator
{
public:
    FProgressIndicator(FRivetConsole& Console, const FString& Label);
    ~FProgressIndicator();

    FProgressIndicator(const FProgressIndicator&) = delete;
    FProgressIndicator& operator=(const FProgressIndicator&) = delete;

private:
    void Run();
    void Draw(double Seconds, int32 Frame);

    FRivetConsole& Console;
    FString Label;
    std::mutex Mutex;
    std::condition_variable Wake;
    bool bFinished = false;
    bool bDrawn = false;
    std::thread Drawer;
};
