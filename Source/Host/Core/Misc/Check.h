#pragma once

/**
 * Programming-error checks. A failed check is a broken invariant, never bad user input:
 * it prints where and why, then stops the process.
 */
namespace VT::Private
{
[[noreturn]] void CheckFailed(const char* Expression, const char* File, int Line, const char* Format, ...)
    __attribute__((format(printf, 4, 5)));
} // namespace VT::Private

#define VT_CHECK(Expr)                                                                                       \
    do                                                                                                       \
    {                                                                                                        \
        if (!(Expr)) [[unlikely]]                                                                            \
            ::VT::Private::CheckFailed(#Expr, __FILE__, __LINE__, "%s", "");                                 \
    } while (false)

#define VT_CHECKF(Expr, Format, ...)                                                                         \
    do                                                                                                       \
    {                                                                                                        \
        if (!(Expr)) [[unlikely]]                                                                            \
            ::VT::Private::CheckFailed(#Expr, __FILE__, __LINE__, Format __VA_OPT__(, ) __VA_ARGS__);        \
    } while (false)

#define VT_CHECK_NO_ENTRY() ::VT::Private::CheckFailed("unreachable", __FILE__, __LINE__, "%s", "")
