#include "RivetCli/Reports/DemoPage.h"

namespace
{
const char* const PageStart = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>rivet demo</title>
<style>
body { font-family: sans-serif; margin: 2em; color: #222; }
figure { display: inline-block; margin: 0 1em 1em 0; }
img { width: 400px; border: 1px solid #ccc; }
pre { background: #f4f4f2; padding: 0.5em; white-space: pre-wrap; }
.skipped { color: #888; }
</style>
</head>
<body>
)";

FString Figure(const FString& Image, const char* Label)
{
    return FString::Printf("<figure><img src=\"%s\" alt=\"%s\"><figcaption>%s</figcaption></figure>\n",
                           *EscapeHtml(Image), Label, Label);
}

FString DescribeStep(int32 Number, const FDemoPageStep& Step)
{
    if (!Step.Skipped.IsEmpty())
    {
        return FString::Printf("<h2 class=\"skipped\">%s</h2>\n<p class=\"skipped\">%s</p>\n",
                               *EscapeHtml(Step.Tool), *EscapeHtml(Step.Skipped));
    }
    FString Html = FString::Printf("<h2>%d. %s</h2>\n<p>%s</p>\n", Number, *EscapeHtml(Step.Tool),
                                   *EscapeHtml(Step.Purpose));
    if (!Step.BeforeImage.IsEmpty())
    {
        Html += Figure(Step.BeforeImage, "before") + Figure(Step.AfterImage, "after");
    }
    FString Messages;
    for (const FString& Message : Step.Messages)
    {
        Messages += EscapeHtml(Message) + "\n";
    }
    Html += FString::Printf("<pre>%sexit status %d</pre>\n", *Messages, Step.ExitCode);
    for (const FString& File : Step.Files)
    {
        Html += FString::Printf("<p>wrote <a href=\"%s\">%s</a></p>\n", *EscapeHtml(File), *EscapeHtml(File));
    }
    return Html;
}
} // namespace

FString EscapeHtml(const FString& Text)
{
    FString Escaped;
    for (const char Character : Text.View())
    {
        switch (Character)
        {
            case '&':
                Escaped += "&amp;";
                break;
            case '<':
                Escaped += "&lt;";
                break;
            case '>':
                Escaped += "&gt;";
                break;
            case '"':
                Escaped += "&quot;";
                break;
            default:
                Escaped += Character;
        }
    }
    return Escaped;
}

FString BuildDemoPage(const FString& CharacterFile, const TArray<FDemoPageStep>& Steps)
{
    FString Html = PageStart;
    Html +=
        FString::Printf("<h1>rivet demo</h1>\n<p>Every tool of the module on the sample character <a "
                        "href=\"%s\">%s</a>: each step with the character before it (the painted selection "
                        "highlighted) and the result, seen from the same camera.</p>\n",
                        *EscapeHtml(CharacterFile), *EscapeHtml(CharacterFile));
    int32 Number = 0;
    for (const FDemoPageStep& Step : Steps)
    {
        Html += DescribeStep(Step.Skipped.IsEmpty() ? ++Number : Number, Step);
    }
    return Html + "</body>\n</html>\n";
}
