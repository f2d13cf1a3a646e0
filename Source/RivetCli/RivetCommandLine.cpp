#include "RivetCli/RivetCommandLine.h"

#include "RivetCli/Commands/RivetCommands.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Selection/SelectionTerm.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>
#include <ostream>

namespace
{
const char* const ScriptHelp = R"(A script holds one step a line; # starts a comment:
  open FILE...        the asset to edit, then files it uses (animations)
  tool NAME           start a tool
  select TERM...      paint a selection (forms as for run --select)
  bone NAME           select a bone in the Skeleton Tree
  bone-edit EDIT      edit a bone by hand (forms as for run --bone-edit)
  set NAME = VALUE    set a panel property
  press BUTTON        press a panel button
  tick [FRAMES]       run editor frames
  accept | cancel     end the tool
  undo | redo         step through the history)";

TArray<FString> ToFStrings(const std::vector<std::string>& Strings)
{
    TArray<FString> Values;
    for (const std::string& String : Strings)
    {
        Values.Add(FString(String));
    }
    return Values;
}

/** Options of `run` and `script` on where results go. */
struct FSaveArguments
{
    std::string OutputFolder;
    bool bInPlace = false;

    void AddTo(CLI::App& Command)
    {
        Command.add_option("--out", OutputFolder,
                           "Folder for the changed files (default: a new folder beside the input)");
        Command.add_flag("--in-place", bInPlace, "Overwrite the input files instead")->excludes("--out");
    }
    FSaveOptions ToSaveOptions() const { return {FString(OutputFolder), bInPlace}; }
};

/** The values of `render`, as the parser fills them. */
struct FRenderCommandLine
{
    std::string File;
    std::string Out;
    int32 LOD = 0;
    std::string View = "three-quarter";
    std::string Size = "800x800";
    bool bPerspective = false;
    bool bWireframe = false;
    std::string ColorBy = "slot";
    std::vector<std::string> Selections;
    std::vector<std::string> BoneEdits;

    FRenderArguments ToArguments() const
    {
        return {FString(File),          FString(Out),         LOD,        FString(View),
                FString(Size),          bPerspective,         bWireframe, FString(ColorBy),
                ToFStrings(Selections), ToFStrings(BoneEdits)};
    }
};

const char* const SnapshotHelp =
    "Draw the asset before the edits (the painted selection highlighted) and after, "
    "into DIR/before.png and DIR/after.png";

/** Every command-line value, kept alive while the parser fills it. */
struct FParsedCommandLine
{
    FRivetConsoleOptions ConsoleOptions;
    std::vector<std::string> InfoFiles;
    bool bInfoTriangles = false;
    std::vector<std::string> RunFiles;
    std::string Tool;
    std::vector<std::string> Selections;
    std::vector<std::string> Bones;
    std::vector<std::string> BoneEdits;
    std::vector<std::string> Assignments;
    std::vector<std::string> Buttons;
    bool bAccept = false;
    bool bCancel = false;
    bool bUndo = false;
    FSaveArguments RunSave;
    std::string ScriptPath;
    FSaveArguments ScriptSave;
    std::string DemoFolder = "rivet-demo";
    std::string RunSnapshot;
    std::string ScriptSnapshot;
    FRenderCommandLine Render;
    std::function<int(FRivetConsole&)> Command;
};

void AddInfo(CLI::App& App, FParsedCommandLine& Parsed)
{
    CLI::App* Info = App.add_subcommand("info", "Describe skinned-mesh files as the tools see them");
    Info->add_option("files", Parsed.InfoFiles, "glTF, GLB, FBX or other skinned-mesh files")->required();
    Info->add_flag(
        "--tris", Parsed.bInfoTriangles,
        "Also list the LOD 0 triangle IDs of each slot and island, as tris: and island: take them");
    Info->footer(
        "Bounds are given in the host's axes and unit (Z up, centimetres), which box: takes, and in the "
        "file's own (glTF: Y up, metres; FBX: the up axis and unit its header names), which box@file: "
        "takes.");
    Info->callback(
        [&Parsed]
        {
            Parsed.Command = [&Parsed](FRivetConsole& Console)
            {
                return RunInfoCommand(Console, ToFStrings(Parsed.InfoFiles), Parsed.bInfoTriangles);
            };
        });
}

void AddTools(CLI::App& App, FParsedCommandLine& Parsed)
{
    CLI::App* Tools =
        App.add_subcommand("tools", "List the modeling mode's tools with their panels and buttons");
    Tools->callback(
        [&Parsed]
        {
            Parsed.Command = [](FRivetConsole& Console)
            {
                return RunToolsCommand(Console);
            };
        });
}

void AddRun(CLI::App& App, FParsedCommandLine& Parsed)
{
    CLI::App* Run = App.add_subcommand("run", "Run one tool on a file, as a user would in the editor");
    Run->add_option("files", Parsed.RunFiles, "The asset to edit, then files it uses (animations)")
        ->required();
    Run->add_option("--tool", Parsed.Tool, "The tool to start, by display or command name")->required();
    Run->add_option("--select", Parsed.Selections,
                    "Paint a selection on the preview (repeatable; forms below)");
    Run->footer(SelectionTermHelp);
    Run->add_option("--bone", Parsed.Bones, "Select a bone in the Skeleton Tree (repeatable; the last counts)");
    Run->add_option("--bone-edit", Parsed.BoneEdits,
                    "Edit a bone by hand as the Skeleton Tree does, after the --set edits (repeatable): "
                    "NAME:location=X,Y,Z:rotation=P,Y,R:scale=S (any of the parts; scale also X,Y,Z)");
    Run->add_option("--set", Parsed.Assignments, "Set a panel property: NAME=VALUE (name or display name)");
    Run->add_option("--press", Parsed.Buttons, "Press a panel button (function or display name), then tick");
    CLI::Option* Accept = Run->add_flag("--accept", Parsed.bAccept, "Accept the tool at the end");
    Run->add_flag("--cancel", Parsed.bCancel, "Cancel the tool at the end")->excludes(Accept);
    Run->add_flag("--undo", Parsed.bUndo,
                  "Undo the last step at the end (a tool still running is cancelled first)");
    Parsed.RunSave.AddTo(*Run);
    Run->add_option("--snapshot", Parsed.RunSnapshot, SnapshotHelp);
    Run->callback(
        [&Parsed]
        {
            Parsed.Command = [&Parsed](FRivetConsole& Console)
            {
                FRunArguments Arguments{ToFStrings(Parsed.RunFiles),
                                        FString(Parsed.Tool),
                                        ToFStrings(Parsed.Selections),
                                        ToFStrings(Parsed.Bones),
                                        ToFStrings(Parsed.BoneEdits),
                                        ToFStrings(Parsed.Assignments),
                                        ToFStrings(Parsed.Buttons),
                                        Parsed.bAccept,
                                        Parsed.bCancel,
                                        Parsed.bUndo,
                                        Parsed.RunSave.ToSaveOptions(),
                                        FString(Parsed.RunSnapshot)};
                return RunRunCommand(Console, Arguments);
            };
        });
}

void AddScript(CLI::App& App, FParsedCommandLine& Parsed)
{
    CLI::App* Script =
        App.add_subcommand("script", "Run the steps of a script: several tools, undo and redo");
    Script->footer(std::string(ScriptHelp) + "\n\n" + SelectionTermHelp);
    Script->add_option("file", Parsed.ScriptPath, "The script")->required();
    Parsed.ScriptSave.AddTo(*Script);
    Script->add_option("--snapshot", Parsed.ScriptSnapshot, SnapshotHelp);
    Script->callback(
        [&Parsed]
        {
            Parsed.Command = [&Parsed](FRivetConsole& Console)
            {
                return RunScriptCommand(Console, FString(Parsed.ScriptPath),
                                        Parsed.ScriptSave.ToSaveOptions(), FString(Parsed.ScriptSnapshot));
            };
        });
}

void AddRender(CLI::App& App, FParsedCommandLine& Parsed)
{
    FRenderCommandLine& Values = Parsed.Render;
    CLI::App* Render = App.add_subcommand("render", "Draw a skinned mesh into a PNG image");
    Render->add_option("file", Values.File, "glTF, GLB, FBX or other skinned-mesh file")->required();
    Render->add_option("--out", Values.Out, "The PNG image to write")->required();
    Render->add_option("--lod", Values.LOD, "The LOD to draw")->capture_default_str();
    Render->add_option("--view", Values.View, "front, back, left, right, top or three-quarter")
        ->capture_default_str();
    Render->add_option("--size", Values.Size, "WIDTHxHEIGHT in pixels")->capture_default_str();
    Render->add_flag("--perspective", Values.bPerspective,
                     "A perspective camera instead of an orthographic one");
    Render->add_flag("--wireframe", Values.bWireframe, "Draw the triangle edges over the shading");
    Render
        ->add_option("--color-by", Values.ColorBy,
                     "slot (with a legend of the slots), bone:NAME, weights:NAME (a heat map) or island")
        ->capture_default_str();
    Render->add_option("--select", Values.Selections, "Highlight a selection (repeatable; forms below)");
    Render->add_option("--bone-edit", Values.BoneEdits,
                       "Pose a bone first: NAME:rotation=P,Y,R, NAME:location=X,Y,Z, NAME:scale=S or S,S,S, "
                       "combinable (repeatable)");
    Render->footer(SelectionTermHelp);
    Render->callback(
        [&Parsed]
        {
            Parsed.Command = [&Parsed](FRivetConsole& Console)
            {
                return RunRenderCommand(Console, Parsed.Render.ToArguments());
            };
        });
}

void AddDemo(CLI::App& App, FParsedCommandLine& Parsed)
{
    CLI::App* Demo =
        App.add_subcommand("demo", "Build a sample character, run every tool on it and report each step");
    Demo->add_option("--out", Parsed.DemoFolder, "Folder for the character and the results")
        ->capture_default_str();
    Demo->callback(
        [&Parsed]
        {
            Parsed.Command = [&Parsed](FRivetConsole& Console)
            {
                return RunDemoCommand(Console, FString(Parsed.DemoFolder));
            };
        });
}
} // namespace

int RunRivet(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err, bool bInteractive)
{
    CLI::App App("rivet: edit skinned meshes with the RivetEditor tools, as the editor runs them", "rivet");
    App.require_subcommand(1);
    App.fallthrough();
    FParsedCommandLine Parsed;
    App.add_flag("-v,--verbose", Parsed.ConsoleOptions.bVerbose, "Also print the module's log lines");
    App.add_flag("--json", Parsed.ConsoleOptions.bJson, "Print a JSON summary on the output stream");
    AddInfo(App, Parsed);
    AddTools(App, Parsed);
    AddRun(App, Parsed);
    AddScript(App, Parsed);
    AddRender(App, Parsed);
    AddDemo(App, Parsed);

    try
    {
        App.parse(std::vector<std::string>(Args.rbegin(), Args.rend()));
    }
    catch (const CLI::ParseError& Error)
    {
        if (App.exit(Error, Out, Err) == 0)
        {
            return static_cast<int>(ERivetExitCode::Success);
        }
        if (std::find(Args.begin(), Args.end(), "--json") != Args.end())
        {
            FRivetConsole(Out, Err, {.bJson = true}).Finish(static_cast<int>(ERivetExitCode::BadInput));
        }
        return static_cast<int>(ERivetExitCode::BadInput);
    }
    Parsed.ConsoleOptions.bInteractive = bInteractive;
    FRivetConsole Console(Out, Err, Parsed.ConsoleOptions);
    int Status = static_cast<int>(ERivetExitCode::BadInput);
    try
    {
        Status = Parsed.Command(Console);
    }
    catch (const std::exception& Error)
    {
        // A file system or library failure that the command did not foresee: said, not crashed on.
        Console.Error(FString(Error.what()));
    }
    Console.Finish(Status);
    return Status;
}
