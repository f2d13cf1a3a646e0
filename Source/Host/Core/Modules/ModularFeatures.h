#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"
#include "Core/Modules/ModularFeature.h"
#include "Core/Name/Name.h"

#include <functional>
#include <type_traits>

/** Names a listener of IModularFeatures, to remove it again. */
class FModularFeatureListenerHandle
{
public:
    FModularFeatureListenerHandle() = default;
    explicit FModularFeatureListenerHandle(uint64 InId) : Id(InId) {}

    bool IsValid() const { return Id != 0; }
    uint64 GetId() const { return Id; }
    bool operator==(const FModularFeatureListenerHandle& Other) const = default;

private:
    uint64 Id = 0;
};

/**
 * Where modules offer implementations of an interface to each other without linking to each
 * other: a module registers its feature under the interface's type name when it starts and
 * unregisters it when it shuts down; users list the implementations of a type. The registry
 * does not own the features.
 */
class IModularFeatures
{
public:
    /** Called after a feature was registered (bRegistered) or unregistered. */
    using FFeaturesChangedCallback =
        std::function<void(FName Type, IModularFeature* Feature, bool bRegistered)>;

    /** The one registry. Safe to use from any thread. */
    static IModularFeatures& Get();

    virtual ~IModularFeatures() = default;

    /** Adds Feature under Type; registering the same feature under a type twice does nothing. */
    virtual void RegisterModularFeature(FName Type, IModularFeature* Feature) = 0;
    /** Removes Feature from Type; nothing happens when it was not registered. */
    virtual void UnregisterModularFeature(FName Type, IModularFeature* Feature) = 0;
    virtual int32 GetModularFeatureImplementationCount(FName Type) const = 0;
    bool IsModularFeatureAvailable(FName Type) const
    {
        return GetModularFeatureImplementationCount(Type) > 0;
    }
    /** The features registered under Type, in registration order. */
    virtual TArray<IModularFeature*> GetRegisteredFeatures(FName Type) const = 0;
    /** The features registered under Type as the interface they implement, in registration order. */
    template <typename FeatureType>
    TArray<FeatureType*> GetModularFeatureImplementations(FName Type) const;

    /**
     * Calls Callback after every change, on the thread that made the change. A listener removed
     * during a notification is not called again; one added during a notification hears the
     * next change.
     */
    virtual FModularFeatureListenerHandle AddFeaturesChangedListener(FFeaturesChangedCallback Callback) = 0;
    virtual void RemoveFeaturesChangedListener(FModularFeatureListenerHandle Handle) = 0;
};

template <typename FeatureType>
TArray<FeatureType*> IModularFeatures::GetModularFeatureImplementations(FName Type) const
{
    static_assert(std::is_base_of_v<IModularFeature, FeatureType>);
    TArray<FeatureType*> Implementations;
    for (IModularFeature* Feature : GetRegisteredFeatures(Type))
    {
        Implementations.Add(static_cast<FeatureType*>(Feature));
    }
    return Implementations;
}
