#include "RivetCli/Console/ProgressIndicator.h"

#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Console/TerminalText.h"

#include <chrono>
#include <ostream>

namespace
{
using FClock = std::chrono::steady_clock;

constexpr auto Delay = std::chrono::milliseconds(400);
constexpr auto FrameTime = std::chrono::milliseconds(100);
constexpr int32 BarWidth = 24;
constexpr int32 MovingBlock = 6;
/** The label's share of the line, so that label, bar and time fit a common terminal. */
constexpr int32 MaxLabelBytes = 80;

/** A block bouncing between the ends of the bar. */
FString MakeBar(int32 Frame)
{
    FString Bar;
    const int32 Span = BarWidth - MovingBlock;
    const int32 Step = Frame % (2 * Span);
    const int32 Start = Step <= Span ? Step : 2 * Span - Step;
    for (int32 Cell = 0; Cell < BarWidth; ++Cell)
    {
        Bar += Cell >= Start && Cell < Start + MovingBlock ? "#" : "-";
    }
    return Bar;
}
} // namespace

FProgressIndicator::FProgressIndicator(FRivetConsole& InConsole, const FString& InLabel)
    // One line that is redrawn in place: a long or strange name must neither wrap nor move the cursor.
    : Console(InConsole), Label(MakeTerminalText(InLabel.View(), /*bKeepNewlines=*/false, MaxLabelBytes))
{
    if (Console.GetOptions().bInteractive)
    {
        Drawer = std::thread([this] { Run(); });
    }
}

FProgressIndicator::~FProgressIndicator()
{
    if (!Drawer.joinable())
    {
        return;
    }
    {
        std::lock_guard Lock(Mutex);
        bFinished = true;
    }
    Wake.notify_one();
    Drawer.join();
    if (bDrawn)
    {
        Console.GetErrorStream() << "\r\033[K" << std::flush;
    }
}

void FProgressIndicator::Run()
{
    const FClock::time_point Start = FClock::now();
    std::unique_lock Lock(Mutex);
    if (Wake.wait_for(Lock, Delay, [this] { return bFinished; }))
    {
        return;
    }
    for (int32 Frame = 0; !bFinished; ++Frame)
    {
        Draw(std::chrono::duration<double>(FClock::now() - Start).count(), Frame);
        Wake.wait_for(Lock, FrameTime, [this] { return bFinished; });
    }
}

void FProgressIndicator::Draw(double Seconds, int32 Frame)
{
    Console.GetErrorStream() << "\r\033[K" << *Label << " [" << *MakeBar(Frame) << "] "
                             << *FString::Printf("%.1f s", Seconds) << std::flush;
    bDrawn = true;
}
