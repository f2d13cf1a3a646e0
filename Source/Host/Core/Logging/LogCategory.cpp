#include "Core/Logging/LogCategory.h"

const FName& FLogCategory::GetCategoryName() const
{
    std::call_once(NameOnce, [this] { Name = FName(NameText); });
    return Name;
}

void FLogCategory::SetVerbosity(ELogVerbosity NewVerbosity)
{
    Verbosity.store(Clamp(NewVerbosity, CompileTimeVerbosity), std::memory_order_relaxed);
}
