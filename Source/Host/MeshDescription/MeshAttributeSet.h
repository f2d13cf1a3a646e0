#pragma once

#include "Core/Name/Name.h"
#include "MeshDescription/MeshAttributesRef.h"

/**
 * The named attributes of one element kind. Every attribute covers the same element range, so the
 * set grows, resets and renumbers them together as elements come and go.
 */
class FMeshAttributeSetBase
{
public:
    FMeshAttributeSetBase() = default;
    FMeshAttributeSetBase(const FMeshAttributeSetBase& Other);
    FMeshAttributeSetBase& operator=(const FMeshAttributeSetBase& Other);
    /** A moved-from set has no attributes and no elements. */
    FMeshAttributeSetBase(FMeshAttributeSetBase&& Other) noexcept;
    FMeshAttributeSetBase& operator=(FMeshAttributeSetBase&& Other) noexcept;

    /** The same attributes as this set (names, types, channels, defaults), without elements. */
    void CopyWithoutElements(const FMeshAttributeSetBase& Other);

    bool HasAttribute(FName Name) const { return Find(Name) != nullptr; }
    void UnregisterAttribute(FName Name);
    /** Names in the order of registration. */
    TArray<FName> GetAttributeNames() const;
    int32 GetNumElements() const { return NumElements; }

    /** Adds an attribute under a name that is not taken yet, sized to the element range. */
    FMeshAttributeArrayBase& RegisterArray(FName Name, std::unique_ptr<FMeshAttributeArrayBase> Array);

    /** The attribute of that name when it has the given storage type, else null. */
    template <typename ArrayType>
    ArrayType* FindArray(FName Name) const
    {
        return dynamic_cast<ArrayType*>(Find(Name));
    }

    /** Makes room for an element and gives it the default value of every attribute. */
    void Insert(int32 Index);
    /** Gives a deleted element the default values, so that a reused ID starts afresh. */
    void Remove(int32 Index);
    /** Remove for each listed element. */
    void Remove(std::span<const int32> Indices);
    void SetNumElements(int32 Num);
    /** Sizes every attribute's storage for this many elements. */
    void Reserve(int32 Num);
    void Permute(const TArray<int32>& NewToOld);

    friend bool operator==(const FMeshAttributeSetBase& A, const FMeshAttributeSetBase& B);

private:
    struct FEntry
    {
        FName Name;
        std::unique_ptr<FMeshAttributeArrayBase> Array;
    };

    FMeshAttributeArrayBase* Find(FName Name) const;

    TArray<FEntry> Entries;
    int32 NumElements = 0;
};

/** The attribute set of the element kind whose IDs are IDType, with typed access. */
template <typename IDType>
class TMeshAttributesSet : public FMeshAttributeSetBase
{
public:
    /**
     * Registers an attribute, or returns the one already registered under that name. Registering a
     * name again with another value type is a programming error.
     */
    template <typename T>
    TMeshAttributesRef<IDType, T> RegisterAttribute(FName Name, int32 NumChannels = 1, const T& Default = T())
    {
        if (!HasAttribute(Name))
        {
            RegisterArray(Name, std::make_unique<TMeshAttributeArray<T>>(NumChannels, Default, 0));
        }
        TMeshAttributeArray<T>* Array = FindArray<TMeshAttributeArray<T>>(Name);
        VT_CHECKF(Array, "attribute '%s' is registered with another type", *Name.ToString());
        return TMeshAttributesRef<IDType, T>(Array);
    }

    template <typename T>
    TMeshAttributesRef<IDType, T> GetAttributesRef(FName Name)
    {
        return TMeshAttributesRef<IDType, T>(FindArray<TMeshAttributeArray<T>>(Name));
    }

    template <typename T>
    TMeshAttributesConstRef<IDType, T> GetAttributesRef(FName Name) const
    {
        return TMeshAttributesConstRef<IDType, T>(FindArray<const TMeshAttributeArray<T>>(Name));
    }

    template <typename T>
    bool HasAttributeOfType(FName Name) const
    {
        return FindArray<const TMeshAttributeArray<T>>(Name) != nullptr;
    }
};
