#pragma once

#include "HeadlessEditor/HeadlessEditor.h"

#include <gtest/gtest.h>

/** Expects the latest tool message to be the text of that namespace and key, reading Text, at Level. */
inline void ExpectLastMessage(const FHeadlessEditor& Editor, const char* Namespace, const char* Key,
                              const FString& Text, EToolMessageLevel Level)
{
    ASSERT_FALSE(Editor.GetMessages().IsEmpty());
    const FToolMessage& Message = Editor.GetMessages().Last();
    EXPECT_EQ(Message.Text.ToString(), Text);
    EXPECT_EQ(Message.Text.GetNamespace(), Namespace);
    EXPECT_EQ(Message.Text.GetKey(), Key);
    EXPECT_EQ(Message.Level, Level);
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
