#pragma once

#include "Core/Logging/LogVerbosity.h"
#include "Core/Name/Name.h"

#include <atomic>
#include <mutex>

/**
 * A named stream of log messages with a verbosity that can change at run time. Categories are
 * constant-initialized, so they work before any dynamic initialization has run; the FName is
 * made on first use.
 */
class FLogCategory
{
public:
    constexpr FLogCategory(const char* InName, ELogVerbosity InDefaultVerbosity,
                           ELogVerbosity InCompileTimeVerbosity)
        : NameText(InName), DefaultVerbosity(Clamp(InDefaultVerbosity, InCompileTimeVerbosity)),
          CompileTimeVerbosity(InCompileTimeVerbosity), Verbosity(DefaultVerbosity)
    {
    }
    FLogCategory(const FLogCategory&) = delete;
    FLogCategory& operator=(const FLogCategory&) = delete;

    const FName& GetCategoryName() const;
    ELogVerbosity GetVerbosity() const { return Verbosity.load(std::memory_order_relaxed); }
    ELogVerbosity GetDefaultVerbosity() const { return DefaultVerbosity; }
    ELogVerbosity GetCompileTimeVerbosity() const { return CompileTimeVerbosity; }

    /** Sets the run-time verbosity; it never exceeds the compile-time verbosity. */
    void SetVerbosity(ELogVerbosity NewVerbosity);
    void ResetVerbosity() { SetVerbosity(DefaultVerbosity); }

    /** True when a message of this verbosity is not shown. */
    bool IsSuppressed(ELogVerbosity MessageVerbosity) const { return MessageVerbosity > GetVerbosity(); }

private:
    static constexpr ELogVerbosity Clamp(ELogVerbosity Wanted, ELogVerbosity Limit)
    {
        return Wanted < Limit ? Wanted : Limit;
    }

    const char* NameText;
    const ELogVerbosity DefaultVerbosity;
    const ELogVerbosity CompileTimeVerbosity;
    std::atomic<ELogVerbosity> Verbosity;
    mutable std::once_flag NameOnce;
    mutable FName Name;
};

/** A category whose verbosities are part of its type, so VT_LOG can drop messages at compile time. */
template <ELogVerbosity InDefaultVerbosity, ELogVerbosity InCompileTimeVerbosity>
class TLogCategory : public FLogCategory
{
public:
    static constexpr ELogVerbosity CompileTimeVerbosity = InCompileTimeVerbosity;

    constexpr explicit TLogCategory(const char* InName)
        : FLogCategory(InName, InDefaultVerbosity, InCompileTimeVerbosity)
    {
    }
};

/**
 * Declares a category in a header; verbosities are bare enumerator names:
 *     VT_DECLARE_LOG_CATEGORY_EXTERN(LogRivetRemesh, Log, All);
 * One .cpp then holds VT_DEFINE_LOG_CATEGORY(LogRivetRemesh);
 */
#define VT_DECLARE_LOG_CATEGORY_EXTERN(CategoryName, DefaultVerbosity, CompileTimeVerbosity)                 \
    extern ::TLogCategory<::ELogVerbosity::DefaultVerbosity, ::ELogVerbosity::CompileTimeVerbosity>          \
        CategoryName

#define VT_DEFINE_LOG_CATEGORY(CategoryName) constinit decltype(CategoryName) CategoryName(#CategoryName)

/** A category private to one .cpp. */
#define VT_DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity)                  \
    static constinit ::TLogCategory<::ELogVerbosity::DefaultVerbosity,                                       \
                                    ::ELogVerbosity::CompileTimeVerbosity>                                   \
        CategoryName(#CategoryName)
