#pragma once

#include "Slate/Framework/Commands/BindingContext.h"

/** Counts the commands-changed notifications heard while it lives. */
class FCommandsChangedCounter
{
public:
    FCommandsChangedCounter() : Handle(FBindingContext::CommandsChanged().Add([this]() { ++Count; })) {}
    ~FCommandsChangedCounter() { FBindingContext::CommandsChanged().Remove(Handle); }
    FCommandsChangedCounter(const FCommandsChangedCounter&) = delete;
    FCommandsChangedCounter& operator=(const FCommandsChangedCounter&) = delete;

    int32 Count = 0;

private:
    FDelegateHandle Handle;
};
