#pragma once

#include "Core/Misc/ScopedSlowTask.h"

#include <chrono>

class FRivetConsole;

/**
 * Shows the editor's slow tasks while it lives: a bar on the error stream, filled as far as the work has
 * gone, with the outermost task's title and the current step's text. It appears once the work has run for
 * a short while and is drawn only when the error stream is a terminal; its line is cleared when the
 * outermost task ends. Each outermost task is also listed in the JSON summary ("slowTasks": its title,
 * total work and the steps it entered).
 */
class FSlowTaskProgressBar final : public ISlowTaskDisplay
{
public:
    explicit FSlowTaskProgressBar(FRivetConsole& Console);
    ~FSlowTaskProgressBar() override;
    FSlowTaskProgressBar(const FSlowTaskProgressBar&) = delete;
    FSlowTaskProgressBar& operator=(const FSlowTaskProgressBar&) = delete;

    void OnSlowTaskBegin(const FScopedSlowTask& Task) override;
    void OnSlowTaskStep(const FScopedSlowTask& Task) override;
    void OnSlowTaskEnd(const FScopedSlowTask& Task) override;

private:
    void Draw(const FScopedSlowTask& Task);

    FRivetConsole& Console;
    ISlowTaskDisplay* Previous;
    std::chrono::steady_clock::time_point Start;
    bool bDrawn = false;
};
