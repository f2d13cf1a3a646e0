#include "GeometryCore/DynamicMesh/MeshValidityReport.h"

bool FMeshValidityReport::Check(bool bCondition, const char* Format, ...)
{
    if (bCondition)
    {
        return true;
    }
    ++NumProblems;
    if (Problems && Problems->Num() < MaxRecorded)
    {
        va_list Args;
        va_start(Args, Format);
        Problems->Add(FString::PrintfV(Format, Args));
        va_end(Args);
    }
    return false;
}
