#pragma once

#include "HeadlessEditor/HeadlessEditor.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

/** Expects the text of that namespace and key, reading Text. */
inline void ExpectText(const FText& Actual, const char* Namespace, const FString& Key, const FString& Text)
{
    EXPECT_EQ(Actual.ToString(), Text);
    EXPECT_EQ(Actual.GetNamespace(), Namespace);
    EXPECT_EQ(Actual.GetKey(), Key);
}

/** Expects the latest tool message to be the text of that namespace and key, reading Text, at Level. */
inline void ExpectLastMessage(const FHeadlessEditor& Editor, const char* Namespace, const char* Key,
                              const FString& Text, EToolMessageLevel Level)
{
    ASSERT_FALSE(Editor.GetMessages().IsEmpty());
    ExpectText(Editor.GetMessages().Last().Text, Namespace, Key, Text);
    EXPECT_EQ(Editor.GetMessages().Last().Level, Level);
}

/** Expects the undo history to hold exactly one step, of that title (and key, when given). */
inline void ExpectOneUndoStep(const FString& Title, const char* Key = nullptr)
{
    const TArray<FText> Steps = FTransactionBuffer::Get().GetUndoTitles();
    ASSERT_EQ(Steps.Num(), 1);
    EXPECT_EQ(Steps[0].ToString(), Title);
    EXPECT_TRUE(Key == nullptr || Steps[0].GetKey() == Key) << *Steps[0].GetKey();
}

/** How many tool messages so far carry that key. */
inline int32 CountMessages(const FHeadlessEditor& Editor, const char* Key)
{
    int32 Count = 0;
    for (const FToolMessage& Message : Editor.GetMessages())
    {
        Count += Message.Text.GetKey() == Key;
    }
    return Count;
}

/** Starts the tool of that name through the mode; stops the test program when it is not that class. */
template <typename ToolType>
ToolType* StartToolAs(FHeadlessEditor& Editor, const FString& Name)
{
    ToolType* Tool = Cast<ToolType>(Editor.StartTool(Name));
    VT_CHECKF(Tool != nullptr, "the mode did not start the %s tool", *Name);
    return Tool;
}

/** Sets a property of the active tool's panels, failing the test when that cannot be done. */
inline void SetToolProperty(FHeadlessEditor& Editor, const FString& Name, const FString& Value)
{
    FString Error;
    ASSERT_TRUE(Editor.SetProperty(Name, Value, Error)) << *Error;
}

/** Presses a button of the active tool's panels, failing the test when there is none of that name. */
inline void PressToolButton(FHeadlessEditor& Editor, const FString& Button)
{
    FString Error;
    ASSERT_TRUE(Editor.PressButton(Button, Error)) << *Error;
}
