#include "Core/Logging/OutputDeviceMemory.h"

#include <algorithm>

void FOutputDeviceMemory::Serialize(const char* Message, ELogVerbosity Verbosity, const FName& Category)
{
    std::scoped_lock Lock(Mutex);
    Lines.Add(FLogLine{Category, Verbosity, FString(Message)});
}

TArray<FLogLine> FOutputDeviceMemory::GetLines() const
{
    std::scoped_lock Lock(Mutex);
    return Lines;
}

void FOutputDeviceMemory::Clear()
{
    std::scoped_lock Lock(Mutex);
    Lines.Empty();
}

TArray<FLogLine> FOutputDeviceMemory::GetLinesFrom(int32 First) const
{
    std::scoped_lock Lock(Mutex);
    TArray<FLogLine> Result;
    for (int32 Index = std::max(First, 0); Index < Lines.Num(); ++Index)
    {
        Result.Add(Lines[Index]);
    }
    return Result;
}

TArray<FLogLine> FOutputDeviceMemory::FindLines(const FName& Category) const
{
    std::scoped_lock Lock(Mutex);
    return Lines.FilterByPredicate([&Category](const FLogLine& Line) { return Line.Category == Category; });
}

int32 FOutputDeviceMemory::CountLines(const FName& Category) const
{
    return FindLines(Category).Num();
}

int32 FOutputDeviceMemory::CountLines(const FName& Category, ELogVerbosity Verbosity) const
{
    return FindLines(Category)
        .FilterByPredicate([Verbosity](const FLogLine& Line) { return Line.Verbosity == Verbosity; })
        .Num();
}

bool FOutputDeviceMemory::ContainsMessage(const FName& Category, std::string_view Part) const
{
    return FindLines(Category).ContainsByPredicate([Part](const FLogLine& Line)
                                                   { return Line.Message.Contains(Part); });
}
