#pragma once

#include "Core/Logging/LogCategory.h"
#include "Core/Logging/LogCore.h"

#include <type_traits>

namespace VT::Private
{
/**
 * Formats a message and sends it to the log. A Fatal message also goes straight to the error
 * stream, so that it is seen even when no console device is attached.
 */
void LogMessage(const FLogCategory& Category, ELogVerbosity Verbosity, const char* Format, ...)
    __attribute__((format(printf, 3, 4)));

/** Flushes the log and stops the process after a Fatal message. */
[[noreturn]] void AbortAfterFatal(const char* File, int Line);

/** Whether a message of this verbosity can be shown by the category at all. NoLogging never is. */
template <typename CategoryType>
constexpr bool IsCompiledIn(ELogVerbosity Verbosity)
{
    return Verbosity == ELogVerbosity::Fatal ||
           (Verbosity != ELogVerbosity::NoLogging &&
            Verbosity <= std::remove_cvref_t<CategoryType>::CompileTimeVerbosity);
}
} // namespace VT::Private

/**
 * Logs a printf-style message: VT_LOG(LogCore, Warning, "Unknown module '%s'", Name).
 * Verbosity is a bare enumerator of ELogVerbosity. A message above the category's
 * compile-time verbosity is not compiled; one above its run-time verbosity is not formatted,
 * and its arguments are not evaluated. Fatal always logs and then stops the process.
 */
#define VT_LOG(CategoryName, Verbosity, Format, ...)                                                         \
    do                                                                                                       \
    {                                                                                                        \
        constexpr ::ELogVerbosity VtLogVerbosity = ::ELogVerbosity::Verbosity;                               \
        constexpr bool bVtLogFatal = VtLogVerbosity == ::ELogVerbosity::Fatal;                               \
        if constexpr (::VT::Private::IsCompiledIn<decltype(CategoryName)>(VtLogVerbosity))                   \
        {                                                                                                    \
            if (bVtLogFatal || !(CategoryName).IsSuppressed(VtLogVerbosity))                                 \
            {                                                                                                \
                ::VT::Private::LogMessage(CategoryName, VtLogVerbosity, Format __VA_OPT__(, ) __VA_ARGS__);  \
            }                                                                                                \
            if constexpr (bVtLogFatal)                                                                       \
            {                                                                                                \
                ::VT::Private::AbortAfterFatal(__FILE__, __LINE__);                                          \
            }                                                                                                \
        }                                                                                                    \
    } while (false)
