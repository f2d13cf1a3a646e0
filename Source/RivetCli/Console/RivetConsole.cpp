#include "RivetCli/Console/RivetConsole.h"

#include "Core/Logging/LogLineFormat.h"
#include "Core/Logging/OutputDeviceMemory.h"
#include "RivetCli/Console/TerminalText.h"

#include <ostream>

FRivetConsole::FRivetConsole(std::ostream& InOut, std::ostream& InErr, FRivetConsoleOptions InOptions)
    : Out(InOut), Err(InErr), Options(InOptions)
{
}

std::ostream& FRivetConsole::ReportStream()
{
    return Options.bJson ? Err : Out;
}

void FRivetConsole::Print(const FString& Line)
{
    ReportStream() << *MakeTerminalText(Line.View()) << '\n';
}

void FRivetConsole::ToolMessage(EToolMessageLevel Level, const FString& Text)
{
    // A message of several lines stays one block: its further lines are indented under the first.
    const std::string Prefix = std::string(ToolMessageLevelName(Level)) + ": ";
    const FString Shown = MakeTerminalText(Text.View(), /*bKeepNewlines=*/true);
    ReportStream() << Prefix << *Shown.Replace("\n", "\n" + std::string(Prefix.size(), ' ')) << '\n';
    Summary["messages"].push_back({{"level", ToolMessageLevelName(Level)}, {"text", *Text}});
}

void FRivetConsole::Warning(const FString& Text)
{
    Err << "rivet: warning: " << *MakeTerminalText(Text.View()) << '\n';
    Summary["warnings"].push_back(*Text);
}

void FRivetConsole::Error(const FString& Text)
{
    const FString Located = ErrorContext.IsEmpty() ? Text : ErrorContext + ": " + Text;
    Err << "rivet: error: " << *MakeTerminalText(Located.View()) << '\n';
    Summary["errors"].push_back(*Located);
}

void FRivetConsole::LogLine(const FLogLine& Line)
{
    const FString Formatted = VT::FormatLogLine(*Line.Message, Line.Verbosity, Line.Category);
    if (Options.bVerbose)
    {
        ReportStream() << "log: " << *MakeTerminalText(Formatted.View()) << '\n';
    }
    Summary["log"].push_back(*Formatted);
}

void FRivetConsole::Finish(int ExitCode)
{
    Summary["exitCode"] = ExitCode;
    if (Options.bJson)
    {
        // Names and paths come from files and the command line: bytes that are not UTF-8 are replaced.
        Out << Summary.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    }
    Out.flush();
    Err.flush();
}

const char* ToolMessageLevelName(EToolMessageLevel Level)
{
    switch (Level)
    {
        case EToolMessageLevel::UserWarning:
            return "warning";
        case EToolMessageLevel::UserError:
            return "error";
        default:
            return "note";
    }
}
