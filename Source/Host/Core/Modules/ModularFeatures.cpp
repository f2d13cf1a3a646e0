#include "Core/Modules/ModularFeatures.h"

#include "Core/Containers/Map.h"
#include "Core/Misc/Check.h"

#include <memory>
#include <mutex>

namespace
{
class FModularFeatures final : public IModularFeatures
{
public:
    void RegisterModularFeature(FName Type, IModularFeature* Feature) override;
    void UnregisterModularFeature(FName Type, IModularFeature* Feature) override;
    int32 GetModularFeatureImplementationCount(FName Type) const override;
    TArray<IModularFeature*> GetRegisteredFeatures(FName Type) const override;
    FModularFeatureListenerHandle AddFeaturesChangedListener(FFeaturesChangedCallback Callback) override;
    void RemoveFeaturesChangedListener(FModularFeatureListenerHandle Handle) override;

private:
    struct FListener
    {
        FModularFeatureListenerHandle Handle;
        std::shared_ptr<const FFeaturesChangedCallback> Callback;
    };

    bool IsListening(FModularFeatureListenerHandle Handle) const;
    /** Calls the listeners without holding the lock, so that they may change the registry. */
    void Notify(FName Type, IModularFeature* Feature, bool bRegistered) const;

    mutable std::mutex Mutex;
    TMap<FName, TArray<IModularFeature*>> Features;
    TArray<FListener> Listeners;
    uint64 LastListenerId = 0;
};

void FModularFeatures::RegisterModularFeature(FName Type, IModularFeature* Feature)
{
    VT_CHECK(Feature != nullptr);
    {
        std::scoped_lock Lock(Mutex);
        TArray<IModularFeature*>& Implementations = Features.FindOrAdd(Type);
        if (Implementations.Contains(Feature))
        {
            return;
        }
        Implementations.Add(Feature);
    }
    Notify(Type, Feature, true);
}

void FModularFeatures::UnregisterModularFeature(FName Type, IModularFeature* Feature)
{
    {
        std::scoped_lock Lock(Mutex);
        TArray<IModularFeature*>* Implementations = Features.Find(Type);
        if (!Implementations || Implementations->Remove(Feature) == 0)
        {
            return;
        }
    }
    Notify(Type, Feature, false);
}

int32 FModularFeatures::GetModularFeatureImplementationCount(FName Type) const
{
    std::scoped_lock Lock(Mutex);
    const TArray<IModularFeature*>* Implementations = Features.Find(Type);
    return Implementations ? Implementations->Num() : 0;
}

TArray<IModularFeature*> FModularFeatures::GetRegisteredFeatures(FName Type) const
{
    std::scoped_lock Lock(Mutex);
    return Features.FindRef(Type);
}

FModularFeatureListenerHandle FModularFeatures::AddFeaturesChangedListener(FFeaturesChangedCallback Callback)
{
    VT_CHECK(Callback != nullptr);
    std::scoped_lock Lock(Mutex);
    const FModularFeatureListenerHandle Handle(++LastListenerId);
    Listeners.Add(FListener{Handle, std::make_shared<const FFeaturesChangedCallback>(std::move(Callback))});
    return Handle;
}

void FModularFeatures::RemoveFeaturesChangedListener(FModularFeatureListenerHandle Handle)
{
    std::scoped_lock Lock(Mutex);
    Listeners.RemoveAll([Handle](const FListener& Listener) { return Listener.Handle == Handle; });
}

bool FModularFeatures::IsListening(FModularFeatureListenerHandle Handle) const
{
    std::scoped_lock Lock(Mutex);
    return Listeners.ContainsByPredicate([Handle](const FListener& Listener)
                                         { return Listener.Handle == Handle; });
}

void FModularFeatures::Notify(FName Type, IModularFeature* Feature, bool bRegistered) const
{
    TArray<FListener> Snapshot;
    {
        std::scoped_lock Lock(Mutex);
        Snapshot = Listeners;
    }
    for (const FListener& Listener : Snapshot)
    {
        if (IsListening(Listener.Handle))
        {
            (*Listener.Callback)(Type, Feature, bRegistered);
        }
    }
}
} // namespace

IModularFeatures& IModularFeatures::Get()
{
    // Never destroyed, so that modules may unregister during static destruction.
    static FModularFeatures& Instance = *new FModularFeatures();
    return Instance;
}
