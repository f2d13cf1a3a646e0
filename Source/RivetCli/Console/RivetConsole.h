#pragma once

#include "Core/Containers/String.h"
#include "InteractiveToolsFramework/Tools/ToolMessageLevel.h"

#include <nlohmann/json.hpp>

#include <iosfwd>

struct FLogLine;

/** How `rivet` was asked to talk. */
struct FRivetConsoleOptions
{
    /** Also print the module's log lines. */
    bool bVerbose = false;
    /** Print one JSON document on the output stream; human-readable lines go to the error stream. */
    bool bJson = false;
    /** The error stream is a terminal: progress may be drawn on it. */
    bool bInteractive = false;
};

/**
 * Where everything `rivet` says goes. Reports and tool messages are lines on the output stream (on
 * the error stream with --json, whose document is the only thing on the output stream); errors and
 * progress go to the error stream. The JSON summary is filled as the command runs and written once
 * at the end.
 */
class FRivetConsole
{
public:
    FRivetConsole(std::ostream& InOut, std::ostream& InErr, FRivetConsoleOptions InOptions = {});

    const FRivetConsoleOptions& GetOptions() const { return Options; }

    /** A line of the human-readable report. */
    void Print(const FString& Line);
    /** A tool message, prefixed with its level: "note: ", "warning: " or "error: ". */
    void ToolMessage(EToolMessageLevel Level, const FString& Text);
    /** A warning about the input that does not stop the command. */
    void Warning(const FString& Text);
    /** Why the command cannot go on. */
    void Error(const FString& Text);
    /** A log line of the module, shown with --verbose. */
    void LogLine(const FLogLine& Line);

    /** Where the work now comes from ("edit.rivet:4"), named in errors; empty for none. */
    void SetErrorContext(const FString& Context) { ErrorContext = Context; }

    std::ostream& GetErrorStream() { return Err; }

    /** The JSON summary being built. */
    nlohmann::json& Json() { return Summary; }
    /** Writes the JSON summary, with --json, and the exit status it belongs to. */
    void Finish(int ExitCode);

private:
    std::ostream& ReportStream();

    std::ostream& Out;
    std::ostream& Err;
    FRivetConsoleOptions Options;
    FString ErrorContext;
    nlohmann::json Summary = nlohmann::json::object();
};

/** "note", "warning" or "error": how a tool message level reads on the command line. */
const char* ToolMessageLevelName(EToolMessageLevel Level);
