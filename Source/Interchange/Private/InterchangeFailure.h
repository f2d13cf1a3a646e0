#pragma once

#include "Core/Containers/String.h"

#include <exception>

/**
 * A refused file. Readers throw it from wherever they find the problem; the public entry points
 * catch it and return "<file>: <Problem>", so it never leaves the module.
 */
class FInterchangeFailure : public std::exception
{
public:
    explicit FInterchangeFailure(FString InProblem) : Problem(std::move(InProblem)) {}
    const char* what() const noexcept override { return *Problem; }
    const FString& GetProblem() const { return Problem; }

private:
    FString Problem;
};

/** Throws FInterchangeFailure with a printf-style problem. */
[[noreturn]] void FailImport(const char* Format, ...) __attribute__((format(printf, 1, 2)));
