#include "Core/Modules/ModularFeatures.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
const FName RivetTestFeatureType("RivetTestFeature");

class IRivetTestFeature : public IModularFeature
{
public:
    virtual int32 GetValue() const = 0;
};

class FValueFeature : public IRivetTestFeature
{
public:
    explicit FValueFeature(int32 InValue) : Value(InValue) {}
    int32 GetValue() const override { return Value; }
    int32 Value;
};

struct FFeatureEvent
{
    FName Type;
    IModularFeature* Feature;
    bool bRegistered;
    bool operator==(const FFeatureEvent& Other) const = default;
};

/** Records notifications while it lives. */
struct FEventRecorder
{
    FEventRecorder()
        : Handle(IModularFeatures::Get().AddFeaturesChangedListener(
              [this](FName Type, IModularFeature* Feature, bool bRegistered) {
                  Events.push_back({Type, Feature, bRegistered});
              }))
    {
    }
    ~FEventRecorder() { IModularFeatures::Get().RemoveFeaturesChangedListener(Handle); }

    std::vector<FFeatureEvent> Events;
    FModularFeatureListenerHandle Handle;
};
} // namespace

TEST(ModuleFeatures, RegisterListInOrderAndTellListenersOfEveryRealChangeUntilRemoved)
{
    IModularFeatures& Features = IModularFeatures::Get();
    FValueFeature First(1);
    FValueFeature Second(2);
    FValueFeature Third(3);
    auto Recorder = std::make_unique<FEventRecorder>();

    Features.RegisterModularFeature(RivetTestFeatureType, &Second);
    Features.RegisterModularFeature(RivetTestFeatureType, &First);
    Features.RegisterModularFeature(RivetTestFeatureType, &Third);
    Features.RegisterModularFeature(RivetTestFeatureType, &First);
    EXPECT_EQ(Features.GetModularFeatureImplementations<IRivetTestFeature>(RivetTestFeatureType),
              (TArray<IRivetTestFeature*>{&Second, &First, &Third}));
    EXPECT_EQ(Features.GetModularFeatureImplementationCount("RivetOtherFeature"), 0);

    Features.UnregisterModularFeature(RivetTestFeatureType, &First);
    Features.UnregisterModularFeature(RivetTestFeatureType, &First);
    Features.UnregisterModularFeature("RivetOtherFeature", &Second);
    EXPECT_EQ(Features.GetModularFeatureImplementations<IRivetTestFeature>(RivetTestFeatureType),
              (TArray<IRivetTestFeature*>{&Second, &Third}));
    EXPECT_EQ(Recorder->Events.size(), 4u) << "three registrations and one removal";
    EXPECT_EQ(Recorder->Events.back(), (FFeatureEvent{RivetTestFeatureType, &First, false}));

    // A removed listener's callback refers to a destroyed object: calling it would crash.
    Recorder.reset();
    Features.UnregisterModularFeature(RivetTestFeatureType, &Second);
    Features.UnregisterModularFeature(RivetTestFeatureType, &Third);
    EXPECT_FALSE(Features.IsModularFeatureAvailable(RivetTestFeatureType));
}

TEST(ModuleFeatures, ListenerMayRemoveListenersWhileNotified)
{
    IModularFeatures& Features = IModularFeatures::Get();
    FEventRecorder Victim;
    int32 Calls = 0;
    FModularFeatureListenerHandle Remover;
    Remover = Features.AddFeaturesChangedListener(
        [&](FName, IModularFeature*, bool)
        {
            ++Calls;
            Features.RemoveFeaturesChangedListener(Remover);
            Features.RemoveFeaturesChangedListener(Victim.Handle);
        });
    // The remover was added after the victim, so the victim hears the first change only.
    FValueFeature Feature(1);
    Features.RegisterModularFeature(RivetTestFeatureType, &Feature);
    Features.UnregisterModularFeature(RivetTestFeatureType, &Feature);
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(Victim.Events.size(), 1u);
}
