#include "CoreUObject/Object/GarbageCollection.h"

#include "CoreUObject/Object/ObjectArray.h"
#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Reflection/Class.h"

#include <algorithm>
#include <vector>

namespace
{
std::vector<FGCObject*>& GetGCObjects()
{
    // Never destroyed, so that holders destroyed at exit can still leave the list.
    static std::vector<FGCObject*>& Objects = *new std::vector<FGCObject*>();
    return Objects;
}

/** Marks reachable objects by slot, walking references, outers and inners. */
class FReachabilityMarker final : public FReferenceCollector
{
public:
    FReachabilityMarker(const FUObjectArray& InObjects, const UPackage* Transient)
        : Objects(InObjects), Reached(static_cast<size_t>(Objects.GetSlotCount()), false),
          Inners(static_cast<size_t>(Objects.GetSlotCount()))
    {
        Objects.ForEachObject(
            [this, Transient](UObject* Object)
            {
                const UObject* Outer = Object->GetOuter();
                if (Outer && Outer != Transient && Outer->GetUniqueID() != INDEX_NONE)
                {
                    Inners[static_cast<size_t>(Outer->GetUniqueID())].push_back(Object);
                }
            });
    }

    using FReferenceCollector::AddReferencedObject;

    void AddReferencedObject(UObject*& Object) override
    {
        if (Object && !Object->IsValid() && !Objects.HasExternalReferences(Object))
        {
            Object = nullptr;
        }
        Reach(Object);
    }

    void MarkFromRoots()
    {
        Objects.ForEachObject(
            [this](UObject* Object)
            {
                const bool bRoot =
                    Object->IsValid() && Object->HasAnyFlags(RF_RootSet | RF_Standalone | RF_Native);
                if (bRoot || Objects.HasExternalReferences(Object))
                {
                    Reach(Object);
                }
            });
        for (FGCObject* Holder : GetGCObjects())
        {
            Holder->AddReferencedObjects(*this);
        }
        while (!Pending.empty())
        {
            UObject* Object = Pending.back();
            Pending.pop_back();
            Reach(Object->GetOuter());
            AddReferencesOf(Object);
            for (UObject* Inner : Inners[static_cast<size_t>(Object->GetUniqueID())])
            {
                if (Inner->IsValid())
                {
                    Reach(Inner);
                }
            }
        }
    }

    bool IsReached(const UObject* Object) const
    {
        return Reached[static_cast<size_t>(Object->GetUniqueID())];
    }

private:
    void Reach(UObject* Object)
    {
        if (!Object || Object->GetUniqueID() == INDEX_NONE)
        {
            return;
        }
        const size_t Index = static_cast<size_t>(Object->GetUniqueID());
        if (!Reached[Index] && Objects.GetObjectAt(Object->GetUniqueID()) == Object)
        {
            Reached[Index] = true;
            Pending.push_back(Object);
        }
    }

    const FUObjectArray& Objects;
    std::vector<bool> Reached;
    std::vector<std::vector<UObject*>> Inners;
    std::vector<UObject*> Pending;
};
} // namespace

void FReferenceCollector::AddReferencesOf(UObject* Object)
{
    for (const FProperty* Property : Object->GetClass()->GetReferenceProperties())
    {
        Property->CollectReferences(Object, *this);
    }
    Object->AddReferencedObjects(*this);
}

FGCObject::FGCObject()
{
    GetGCObjects().push_back(this);
}

FGCObject::FGCObject(const FGCObject&) : FGCObject()
{
}

FGCObject::~FGCObject()
{
    std::erase(GetGCObjects(), this);
}

int32 CollectGarbage()
{
    const UPackage* Transient = GetTransientPackage();
    FUObjectArray& Objects = FUObjectArray::Get();
    FReachabilityMarker Marker(Objects, Transient);
    Marker.MarkFromRoots();

    std::vector<UObject*> Unreached;
    Objects.ForEachObject(
        [&](UObject* Object)
        {
            if (!Marker.IsReached(Object))
            {
                Unreached.push_back(Object);
            }
        });
    for (UObject* Object : Unreached)
    {
        Object->BeginDestroy();
    }
    for (UObject* Object : Unreached)
    {
        Objects.Unregister(Object);
    }
    for (UObject* Object : Unreached)
    {
        delete Object;
    }
    return static_cast<int32>(Unreached.size());
}
