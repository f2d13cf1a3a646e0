#include "Engine/SkeletalMesh/SkeletalMesh.h"

#include "Core/Math/ForwardKinematics.h"
#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/ObjectArray.h"
#include "CoreUObject/Object/Transaction.h"
#include "Engine/SkeletalMesh/LODMaterialMapCarry.h"
#include "MeshDescription/MeshNormals.h"
#include "MeshDescription/SkeletalMeshAttributes.h"

using ELock = ESkeletalMeshAsyncPropertyLockType;
using EProperty = ESkeletalMeshAsyncProperties;

int32 USkeletalMesh::GetLODNum() const
{
    WaitUntilAsyncPropertyReleased(EProperty::LODInfo);
    return LODInfo.Num();
}

FSkeletalLODInfo* USkeletalMesh::GetLODInfo(int32 LODIndex)
{
    WaitUntilAsyncPropertyReleased(EProperty::LODInfo, ELock::ReadWrite);
    return LODInfo.IsValidIndex(LODIndex) ? &LODInfo[LODIndex] : nullptr;
}

const FSkeletalLODInfo* USkeletalMesh::GetLODInfo(int32 LODIndex) const
{
    WaitUntilAsyncPropertyReleased(EProperty::LODInfo);
    return LODInfo.IsValidIndex(LODIndex) ? &LODInfo[LODIndex] : nullptr;
}

TArray<FSkeletalLODInfo>& USkeletalMesh::GetLODInfoArray()
{
    WaitUntilAsyncPropertyReleased(EProperty::LODInfo, ELock::ReadWrite);
    return LODInfo;
}

int32 USkeletalMesh::AddLODInfo()
{
    WaitUntilAsyncPropertyReleased(EProperty::LODInfo | EProperty::ImportedModel, ELock::ReadWrite);
    FSkeletalLODInfo Info;
    Info.ScreenSize = LODInfo.IsEmpty() ? 1.0f : LODInfo.Last().ScreenSize * 0.5f;
    LODInfo.Add(Info);
    MeshDescriptions.Add(nullptr);
    const int32 NewIndex = LODInfo.Num() - 1;
    if (ImportedModel.LODModels.Num() <= NewIndex)
    {
        ImportedModel.LODModels.SetNum(NewIndex + 1);
    }
    ImportedModel.LODModels[NewIndex] = FImportedLODModel();
    return NewIndex;
}

void USkeletalMesh::RemoveLODInfo(int32 LODIndex)
{
    WaitUntilAsyncPropertyReleased(EProperty::LODInfo, ELock::ReadWrite);
    if (LODInfo.IsValidIndex(LODIndex))
    {
        LODInfo.RemoveAt(LODIndex);
        MeshDescriptions.RemoveAt(LODIndex);
    }
}

bool USkeletalMesh::HasMeshDescription(int32 LODIndex) const
{
    return GetMeshDescription(LODIndex) != nullptr;
}

FMeshDescription* USkeletalMesh::GetMeshDescription(int32 LODIndex) const
{
    return MeshDescriptions.IsValidIndex(LODIndex) ? MeshDescriptions[LODIndex].get() : nullptr;
}

FMeshDescription* USkeletalMesh::CreateMeshDescription(int32 LODIndex, FMeshDescription&& Description)
{
    VT_CHECKF(MeshDescriptions.IsValidIndex(LODIndex), "LOD %d does not exist", LODIndex);
    MeshDescriptions[LODIndex] = std::make_shared<FMeshDescription>(std::move(Description));
    return MeshDescriptions[LODIndex].get();
}

void USkeletalMesh::ClearMeshDescription(int32 LODIndex)
{
    if (MeshDescriptions.IsValidIndex(LODIndex))
    {
        MeshDescriptions[LODIndex].reset();
    }
}

bool USkeletalMesh::ModifyMeshDescription(int32 LODIndex, bool bAlwaysMarkDirty)
{
    if (!HasMeshDescription(LODIndex))
    {
        return false;
    }
    if (Modify(bAlwaysMarkDirty))
    {
        const std::shared_ptr<FMeshDescription>& Description = MeshDescriptions[LODIndex];
        GUndo->SaveChange(this, Description.get(),
                          [&Description]
                          { return std::make_unique<TSharedDataChange<FMeshDescription>>(Description); });
    }
    return true;
}

void USkeletalMesh::CommitMeshDescription(int32 LODIndex, const FCommitMeshDescriptionParams& Params)
{
    FMeshDescription* Description = GetMeshDescription(LODIndex);
    VT_CHECKF(Description != nullptr, "LOD %d has no mesh description to commit", LODIndex);
    if (Params.bRecomputeNormals)
    {
        ModifyMeshDescription(LODIndex, false);
        RecomputeVertexInstanceNormals(*Description);
    }
    Modify(false);
    if (Params.bRebuildImportedModel)
    {
        WaitUntilAsyncPropertyReleased(EProperty::ImportedModel, ELock::ReadWrite);
        if (ImportedModel.LODModels.Num() <= LODIndex)
        {
            ImportedModel.LODModels.SetNum(LODIndex + 1);
        }
        FImportedLODModel& LODModel = ImportedModel.LODModels[LODIndex];
        const TArray<FImportedSection> OldSections = LODModel.Sections;
        LODModel.Build(*Description);
        if (FSkeletalLODInfo* Info = GetLODInfo(LODIndex))
        {
            CarryLODMaterialMapToSections(Info->LODMaterialMap, OldSections, LODModel.Sections);
        }
    }
    if (Params.bRebuildMorphTargets)
    {
        RebuildMorphTargets(LODIndex, *Description);
    }
    if (Params.bUpdateImportedBounds && LODIndex == 0)
    {
        UpdateImportedBounds(*Description);
    }
    if (Params.bInvalidateDerivedData)
    {
        InvalidateDeriveDataCacheGUID();
    }
    if (Params.bMarkPackageDirty)
    {
        MarkPackageDirty();
    }
}

void USkeletalMesh::RebuildMorphTargets(int32 LODIndex, const FMeshDescription& Description)
{
    WaitUntilAsyncPropertyReleased(EProperty::MorphTargets, ELock::ReadWrite);
    FImportedLODModel BuiltHere;
    const FImportedLODModel* LODModel =
        ImportedModel.LODModels.IsValidIndex(LODIndex) ? &ImportedModel.LODModels[LODIndex] : nullptr;
    if (!LODModel)
    {
        BuiltHere.Build(Description);
        LODModel = &BuiltHere;
    }

    const TArray<FName> Names = FSkeletalMeshAttributesShared(Description).GetMorphTargetNames();
    for (const FName Name : Names)
    {
        UMorphTarget* MorphTarget = FindMorphTarget(Name);
        if (!MorphTarget)
        {
            MorphTarget = FindOrCreateMorphTargetObject(Name);
            MorphTargets.Add(MorphTarget);
        }
        MorphTarget->Modify(false);
        MorphTarget->BuildLODData(LODIndex, Description, *LODModel);
    }

    // Targets the description no longer has lose this LOD's deltas, and go when nothing is left.
    for (const TObjectPtr<UMorphTarget>& MorphTarget : MorphTargets)
    {
        if (MorphTarget && !Names.Contains(MorphTarget->GetMorphName()) &&
            MorphTarget->GetMorphLODModels().IsValidIndex(LODIndex))
        {
            MorphTarget->Modify(false);
            MorphTarget->GetMorphLODModels()[LODIndex] = FMorphTargetLODData();
        }
    }
    MorphTargets.RemoveAll(
        [&Names](const TObjectPtr<UMorphTarget>& MorphTarget) {
            return MorphTarget && !Names.Contains(MorphTarget->GetMorphName()) &&
                   !MorphTarget->HasAnyLODData();
        });
}

UMorphTarget* USkeletalMesh::FindOrCreateMorphTargetObject(FName MorphName)
{
    // A target dropped earlier (it has no deltas left) stays inside the mesh, as undo may bring it
    // back: take it up again.
    UObject* Existing = FUObjectArray::Get().FindObject(this, MorphName);
    if (UMorphTarget* Dropped = Cast<UMorphTarget>(Existing))
    {
        return Dropped;
    }
    UMorphTarget* Created = NewObject<UMorphTarget>(this, Existing ? NAME_None : MorphName);
    Created->SetMorphName(MorphName);
    return Created;
}

void USkeletalMesh::UpdateImportedBounds(const FMeshDescription& Description)
{
    const auto Positions = FSkeletalMeshAttributesShared(Description).GetVertexPositions();
    FBox Box;
    if (Positions.IsValid())
    {
        for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
        {
            Box += FVector(Positions[Vertex]);
        }
    }
    SetImportedBounds(FBoxSphereBounds(Box));
}

TArray<FSkeletalMaterial>& USkeletalMesh::GetMaterials()
{
    WaitUntilAsyncPropertyReleased(EProperty::Materials, ELock::ReadWrite);
    return Materials;
}

const TArray<FSkeletalMaterial>& USkeletalMesh::GetMaterials() const
{
    WaitUntilAsyncPropertyReleased(EProperty::Materials);
    return Materials;
}

void USkeletalMesh::SetMaterials(TArray<FSkeletalMaterial> NewMaterials)
{
    GetMaterials() = std::move(NewMaterials);
}

FSkeletalMeshImportedModel* USkeletalMesh::GetImportedModel()
{
    WaitUntilAsyncPropertyReleased(EProperty::ImportedModel, ELock::ReadWrite);
    return &ImportedModel;
}

const FSkeletalMeshImportedModel* USkeletalMesh::GetImportedModel() const
{
    WaitUntilAsyncPropertyReleased(EProperty::ImportedModel);
    return &ImportedModel;
}

const FReferenceSkeleton& USkeletalMesh::GetRefSkeleton() const
{
    WaitUntilAsyncPropertyReleased(EProperty::RefSkeleton);
    return RefSkeleton;
}

FReferenceSkeleton& USkeletalMesh::GetRefSkeleton()
{
    WaitUntilAsyncPropertyReleased(EProperty::RefSkeleton, ELock::ReadWrite);
    return RefSkeleton;
}

void USkeletalMesh::SetRefSkeleton(const FReferenceSkeleton& NewRefSkeleton)
{
    GetRefSkeleton() = NewRefSkeleton;
}

TArray<FMatrix44f>& USkeletalMesh::GetRefBasesInvMatrix()
{
    WaitUntilAsyncPropertyReleased(EProperty::InverseRefMatrices, ELock::ReadWrite);
    return RefBasesInvMatrix;
}

const TArray<FMatrix44f>& USkeletalMesh::GetRefBasesInvMatrix() const
{
    WaitUntilAsyncPropertyReleased(EProperty::InverseRefMatrices);
    return RefBasesInvMatrix;
}

void USkeletalMesh::CalculateInvRefMatrices()
{
    const FReferenceSkeleton& Bones = GetRefSkeleton();
    TArray<FMatrix44f>& Inverses = GetRefBasesInvMatrix();
    if (Inverses.Num() == Bones.GetNum())
    {
        return;
    }
    TArray<FTransform> ComponentSpace;
    VT::Math::FillComponentSpaceTransforms(Bones.GetRefBonePose(), Bones.GetParentIndices(), ComponentSpace);
    Inverses.Reset();
    Inverses.Reserve(ComponentSpace.Num());
    for (const FTransform& Transform : ComponentSpace)
    {
        Inverses.Add(FMatrix44f(Transform.ToMatrixWithScale().Inverse()));
    }
}

USkeleton* USkeletalMesh::GetSkeleton() const
{
    WaitUntilAsyncPropertyReleased(EProperty::Skeleton);
    return Skeleton.Get();
}

void USkeletalMesh::SetSkeleton(USkeleton* NewSkeleton)
{
    WaitUntilAsyncPropertyReleased(EProperty::Skeleton, ELock::WriteOnly);
    Skeleton = NewSkeleton;
}

UPhysicsAsset* USkeletalMesh::GetPhysicsAsset() const
{
    WaitUntilAsyncPropertyReleased(EProperty::PhysicsAsset);
    return PhysicsAsset.Get();
}

void USkeletalMesh::SetPhysicsAsset(UPhysicsAsset* NewPhysicsAsset)
{
    WaitUntilAsyncPropertyReleased(EProperty::PhysicsAsset, ELock::WriteOnly);
    PhysicsAsset = NewPhysicsAsset;
}

TArray<TObjectPtr<UMorphTarget>>& USkeletalMesh::GetMorphTargets()
{
    WaitUntilAsyncPropertyReleased(EProperty::MorphTargets, ELock::ReadWrite);
    return MorphTargets;
}

const TArray<TObjectPtr<UMorphTarget>>& USkeletalMesh::GetMorphTargets() const
{
    WaitUntilAsyncPropertyReleased(EProperty::MorphTargets);
    return MorphTargets;
}

UMorphTarget* USkeletalMesh::FindMorphTarget(FName MorphName) const
{
    for (const TObjectPtr<UMorphTarget>& MorphTarget : GetMorphTargets())
    {
        if (MorphTarget && MorphTarget->GetMorphName() == MorphName)
        {
            return MorphTarget.Get();
        }
    }
    return nullptr;
}

TArray<TObjectPtr<USkeletalMeshSocket>>& USkeletalMesh::GetMeshOnlySocketList()
{
    WaitUntilAsyncPropertyReleased(EProperty::MeshOnlySockets, ELock::ReadWrite);
    return MeshOnlySockets;
}

const TArray<TObjectPtr<USkeletalMeshSocket>>& USkeletalMesh::GetMeshOnlySocketList() const
{
    WaitUntilAsyncPropertyReleased(EProperty::MeshOnlySockets);
    return MeshOnlySockets;
}

USkeletalMeshSocket* USkeletalMesh::FindSocket(FName SocketName) const
{
    for (const TObjectPtr<USkeletalMeshSocket>& Socket : GetMeshOnlySocketList())
    {
        if (Socket && Socket->SocketName == SocketName)
        {
            return Socket.Get();
        }
    }
    const USkeleton* MeshSkeleton = GetSkeleton();
    return MeshSkeleton ? MeshSkeleton->FindSocket(SocketName) : nullptr;
}

UAssetSourceFile* USkeletalMesh::GetSourceFile() const
{
    WaitUntilAsyncPropertyReleased(EProperty::SourceFile);
    return SourceFile.Get();
}

void USkeletalMesh::SetSourceFile(UAssetSourceFile* NewSourceFile)
{
    WaitUntilAsyncPropertyReleased(EProperty::SourceFile, ELock::ReadWrite);
    SourceFile = NewSourceFile;
}

FBoxSphereBounds USkeletalMesh::GetImportedBounds() const
{
    WaitUntilAsyncPropertyReleased(EProperty::ImportedBounds);
    return ImportedBounds;
}

void USkeletalMesh::SetImportedBounds(const FBoxSphereBounds& Bounds)
{
    WaitUntilAsyncPropertyReleased(EProperty::ImportedBounds, ELock::WriteOnly);
    ImportedBounds = Bounds;
}

void USkeletalMesh::InvalidateDeriveDataCacheGUID()
{
    DerivedDataKey = FGuid::NewGuid();
}

void USkeletalMesh::WaitUntilAsyncPropertyReleased(ESkeletalMeshAsyncProperties Property,
                                                   ESkeletalMeshAsyncPropertyLockType LockType) const
{
    // Readers and writers alike wait for the whole work: nothing here shares a property with it.
    (void)LockType;
    if ((Live.Get().LockedProperties & Property) == EProperty::None)
    {
        return;
    }
    std::function<void()> Finish = std::move(Live.Get().FinishAsyncWork);
    Live.Get().FinishAsyncWork = nullptr;
    Live.Get().LockedProperties = EProperty::None;
    if (Finish)
    {
        Finish();
    }
}

void USkeletalMesh::LockPropertiesForAsyncWork(ESkeletalMeshAsyncProperties Properties,
                                               std::function<void()> Finish)
{
    WaitUntilAsyncPropertyReleased(EProperty::All);
    Live.Get().LockedProperties = Properties;
    Live.Get().FinishAsyncWork = std::move(Finish);
}

bool USkeletalMesh::IsAsyncPropertyLocked(ESkeletalMeshAsyncProperties Property) const
{
    return (Live.Get().LockedProperties & Property) != EProperty::None;
}

void USkeletalMesh::PostEditChange()
{
    Super::PostEditChange();
    if (!DerivedDataKey.IsValid())
    {
        InvalidateDeriveDataCacheGUID();
    }
    RebuildRenderData();
}

void USkeletalMesh::PreEditUndo()
{
    Super::PreEditUndo();
    WaitUntilAsyncPropertyReleased(EProperty::All);
}

void USkeletalMesh::PostEditUndo()
{
    Super::PostEditUndo();
    RebuildRenderData();
}

bool USkeletalMesh::Modify(bool bAlwaysMarkDirty)
{
    WaitUntilAsyncPropertyReleased(EProperty::All);
    return Super::Modify(bAlwaysMarkDirty);
}

void USkeletalMesh::RebuildRenderData()
{
    RenderDataKey = DerivedDataKey;
    Live.Get().OnMeshChanged.Broadcast(this);
}

void USkeletalMesh::PostDuplicate()
{
    Super::PostDuplicate();
    for (std::shared_ptr<FMeshDescription>& Description : MeshDescriptions)
    {
        if (Description)
        {
            Description = std::make_shared<FMeshDescription>(*Description);
        }
    }
}

void USkeletalMesh::AddReferencedObjects(FReferenceCollector& Collector)
{
    Super::AddReferencedObjects(Collector);
    for (FSkeletalMaterial& Material : Materials)
    {
        Collector.AddReferencedObject(Material.Material);
    }
}
