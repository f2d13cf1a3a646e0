#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"

/**
 * Collects the broken invariants a mesh validity check finds. Messages are only formatted for
 * failed checks, and at most MaxRecorded of them are kept.
 */
class FMeshValidityReport
{
public:
    static constexpr int32 MaxRecorded = 100;

    /** Problems, when not null, receives the messages. */
    explicit FMeshValidityReport(TArray<FString>* InProblems = nullptr) : Problems(InProblems) {}

    /** Records a problem unless bCondition holds; returns bCondition. */
    bool Check(bool bCondition, const char* Format, ...) __attribute__((format(printf, 3, 4)));

    bool IsValid() const { return NumProblems == 0; }
    int32 GetNumProblems() const { return NumProblems; }

private:
    TArray<FString>* Problems;
    int32 NumProblems = 0;
};
