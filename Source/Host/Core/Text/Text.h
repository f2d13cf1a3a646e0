#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/CoreTypes.h"
#include "Core/Name/Name.h"

#include <concepts>
#include <memory>
#include <type_traits>

class FFormatArgumentValue;

/**
 * A localized text: what the user reads. A text is immutable and shares its data between
 * copies. It remembers the source string it was made from and the namespace and key that
 * identify the message, so that a culture table can later translate it; for now the display
 * string is the source string.
 *
 * Texts for the user come from VT_LOCTEXT / VT_NSLOCTEXT (Core/Text/LocText.h); texts that
 * need no translation come from FromString and FromName.
 */
class FText
{
public:
    /** An empty text. */
    FText();

    /** A text that shows Source as it is, with no namespace and no key. */
    static FText FromString(FString Source);
    static FText FromName(const FName& Name);
    /** A text identified by Namespace and Key, whose untranslated form is Source. */
    static FText MakeLocalized(FString Namespace, FString Key, FString Source);
    static const FText& GetEmpty();

    /**
     * Substitutes ordered arguments into Pattern: "{0}" is the first argument, "{1}" the
     * second, and so on. A reference to an argument that was not given stays as written, and a
     * backtick makes the next brace or backtick literal ("`{" reads "{"). Numbers are written
     * with AsNumber. The result keeps Pattern's namespace, key and source string, and the
     * arguments it was given.
     */
    template <typename... ArgTypes>
    static FText Format(const FText& Pattern, ArgTypes&&... Args);
    static FText FormatOrdered(const FText& Pattern, TArray<FFormatArgumentValue> Arguments);

    /** An integer in the default number format: digits grouped by three with ',' ("-1,234"). */
    static FText AsNumber(int64 Value);
    static FText AsNumber(uint64 Value);
    /**
     * A real number in the default number format: rounded half away from zero to at most three
     * fraction digits, without trailing zeros, grouped like integers ("1,000.25", "3").
     */
    static FText AsNumber(double Value);
    template <CWholeNumber T>
    static FText AsNumber(T Value)
    {
        if constexpr (std::is_signed_v<T>)
        {
            return AsNumber(static_cast<int64>(Value));
        }
        else
        {
            return AsNumber(static_cast<uint64>(Value));
        }
    }

    /** The display string. */
    const FString& ToString() const;
    const FString& GetSourceString() const;
    const FString& GetNamespace() const;
    const FString& GetKey() const;
    /** The arguments of the Format call that made this text; empty for other texts. */
    const TArray<FFormatArgumentValue>& GetFormatArguments() const;

    bool IsEmpty() const { return ToString().IsEmpty(); }
    /** True when both texts show the same string. */
    bool EqualTo(const FText& Other) const { return ToString() == Other.ToString(); }
    /** True when both texts are copies of one another. */
    bool IsIdenticalTo(const FText& Other) const { return Data == Other.Data; }

private:
    struct FData;

    explicit FText(std::shared_ptr<const FData> InData);

    std::shared_ptr<const FData> Data;
};

// The argument type holds texts itself, so it is defined after FText and completes Format.
#include "Core/Text/FormatArgumentValue.h"
#include "Core/Text/LocText.h"
