#include "Core/Text/Text.h"

#include "Core/Text/TextData.h"

namespace
{
/** The display string of a message. No culture table is loaded: a message shows its source. */
FString Localize(const FString& /*Namespace*/, const FString& /*Key*/, const FString& Source)
{
    return Source;
}
} // namespace

FText::FText()
{
    // Every empty text shares one data block, so making an empty text does not allocate.
    // Never destroyed, so that texts can be made while other statics are destroyed.
    static const auto& EmptyData = *new std::shared_ptr<const FData>(std::make_shared<const FData>());
    Data = EmptyData;
}

FText::FText(std::shared_ptr<const FData> InData) : Data(std::move(InData))
{
}

FText FText::FromString(FString Source)
{
    FString Display = Source;
    return FText(std::make_shared<const FData>(FData{std::move(Display), std::move(Source), {}, {}, {}}));
}

FText FText::FromName(const FName& Name)
{
    return FromString(Name.ToString());
}

FText FText::MakeLocalized(FString Namespace, FString Key, FString Source)
{
    FString Display = Localize(Namespace, Key, Source);
    return FText(std::make_shared<const FData>(
        FData{std::move(Display), std::move(Source), std::move(Namespace), std::move(Key), {}}));
}

const FText& FText::GetEmpty()
{
    static const FText& Empty = *new FText();
    return Empty;
}

const FString& FText::ToString() const
{
    return Data->DisplayString;
}

const FString& FText::GetSourceString() const
{
    return Data->SourceString;
}

const FString& FText::GetNamespace() const
{
    return Data->Namespace;
}

const FString& FText::GetKey() const
{
    return Data->Key;
}

const TArray<FFormatArgumentValue>& FText::GetFormatArguments() const
{
    return Data->FormatArguments;
}
