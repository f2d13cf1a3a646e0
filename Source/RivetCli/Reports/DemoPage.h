#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

/** One step of the demo as its page shows it. */
struct FDemoPageStep
{
    FString Tool;
    FString Purpose;
    /** Empty when the step ran; otherwise why it was skipped. */
    FString Skipped;
    int ExitCode = 0;
    /** Paths of the pictures relative to the page; empty when none were drawn. */
    FString BeforeImage;
    FString AfterImage;
    /** The tool messages, each as "level: text". */
    TArray<FString> Messages;
    /** The files the step wrote, relative to the page. */
    TArray<FString> Files;
};

/** The demo's report as one static HTML page: no scripts, nothing fetched from elsewhere. */
FString BuildDemoPage(const FString& CharacterFile, const TArray<FDemoPageStep>& Steps);

/** Text with the characters that HTML gives meaning to escaped. */
FString EscapeHtml(const FString& Text);
