#pragma once

#include "Core/Delegates/MulticastDelegate.h"
#include "Core/Math/BoxSphereBounds.h"
#include "Core/Math/Matrix.h"
#include "Core/Misc/Guid.h"
#include "CoreUObject/Object/NonTransactedValue.h"
#include "CoreUObject/Object/ObjectPtr.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/Animation/ReferenceSkeleton.h"
#include "Engine/Animation/Skeleton.h"
#include "Engine/Assets/AssetSourceFile.h"
#include "Engine/PhysicsEngine/PhysicsAsset.h"
#include "Engine/SkeletalMesh/CommitMeshDescriptionParams.h"
#include "Engine/SkeletalMesh/ImportedModel.h"
#include "Engine/SkeletalMesh/MorphTarget.h"
#include "Engine/SkeletalMesh/SkeletalLODInfo.h"
#include "Engine/SkeletalMesh/SkeletalMaterial.h"
#include "Engine/SkeletalMesh/SkeletalMeshAsyncProperties.h"
#include "Engine/SkeletalMesh/SkeletalMeshSocket.h"

#include <functional>
#include <memory>

class FMeshDescription;

/**
 * A skinned mesh asset. Each level of detail has settings (FSkeletalLODInfo), an imported model
 * built from its geometry and, optionally, an editable mesh description that is the geometry's
 * source. Asset-wide are the material slots, the reference skeleton with its inverse reference
 * matrices, the skeleton asset, the physics asset, the morph targets, the mesh's own sockets, the
 * imported bounds and the record of the source file.
 *
 * Editing a description: ModifyMeshDescription records it in the open transaction, the caller
 * changes it in place, CommitMeshDescription rebuilds what derives from it, and PostEditChange
 * rebuilds the render data and tells the views. Modify records everything else.
 */
VT_CLASS()
class USkeletalMesh : public UObject
{
    VT_BODY(USkeletalMesh, UObject)

public:
    // Levels of detail.

    int32 GetLODNum() const;
    FSkeletalLODInfo* GetLODInfo(int32 LODIndex);
    const FSkeletalLODInfo* GetLODInfo(int32 LODIndex) const;
    TArray<FSkeletalLODInfo>& GetLODInfoArray();
    /** Appends a LOD with default settings, no description and an empty imported model; answers its index. */
    int32 AddLODInfo();
    /**
     * Removes the LOD's settings and its description. The imported model's LOD models and the
     * morph targets' per-LOD data are kept as they are: whoever removes a LOD trims those too.
     */
    void RemoveLODInfo(int32 LODIndex);

    // Mesh descriptions.

    bool HasMeshDescription(int32 LODIndex) const;
    /** The LOD's editable description, or null when the LOD has none (or does not exist). */
    FMeshDescription* GetMeshDescription(int32 LODIndex) const;
    /** Gives the LOD (which must exist) a description, moved from the one given; answers it. */
    FMeshDescription* CreateMeshDescription(int32 LODIndex, FMeshDescription&& Description);
    /** Drops the LOD's description. */
    void ClearMeshDescription(int32 LODIndex);
    /**
     * Announces a change of the LOD's description: records its current state in the open transaction
     * (once per transaction) and records the mesh itself. False when the LOD has no description.
     */
    bool ModifyMeshDescription(int32 LODIndex, bool bAlwaysMarkDirty = true);
    /**
     * Rebuilds what derives from the LOD's description, as the parameters ask. Morph targets are
     * built for the LOD's imported model as it stands after the (optional) rebuild of the model. When
     * the rebuild gives a polygon group a section or takes one away, the LOD's material map is
     * carried over so that every group keeps its entry (CarryLODMaterialMapToSections).
     */
    void CommitMeshDescription(int32 LODIndex, const FCommitMeshDescriptionParams& Params);

    // Material slots.

    TArray<FSkeletalMaterial>& GetMaterials();
    const TArray<FSkeletalMaterial>& GetMaterials() const;
    void SetMaterials(TArray<FSkeletalMaterial> NewMaterials);

    // Imported model.

    FSkeletalMeshImportedModel* GetImportedModel();
    const FSkeletalMeshImportedModel* GetImportedModel() const;

    // Skeleton.

    const FReferenceSkeleton& GetRefSkeleton() const;
    FReferenceSkeleton& GetRefSkeleton();
    void SetRefSkeleton(const FReferenceSkeleton& RefSkeleton);
    /** The inverse of each bone's component-space reference matrix. */
    TArray<FMatrix44f>& GetRefBasesInvMatrix();
    const TArray<FMatrix44f>& GetRefBasesInvMatrix() const;
    /** Fills the inverse reference matrices from the reference pose unless they match the bone count. */
    void CalculateInvRefMatrices();
    USkeleton* GetSkeleton() const;
    void SetSkeleton(USkeleton* NewSkeleton);

    // Dependent assets and data.

    UPhysicsAsset* GetPhysicsAsset() const;
    void SetPhysicsAsset(UPhysicsAsset* NewPhysicsAsset);
    TArray<TObjectPtr<UMorphTarget>>& GetMorphTargets();
    const TArray<TObjectPtr<UMorphTarget>>& GetMorphTargets() const;
    UMorphTarget* FindMorphTarget(FName MorphName) const;
    /** The sockets of this mesh only; the skeleton's sockets are shared by every mesh. */
    TArray<TObjectPtr<USkeletalMeshSocket>>& GetMeshOnlySocketList();
    const TArray<TObjectPtr<USkeletalMeshSocket>>& GetMeshOnlySocketList() const;
    /** The socket of that name: the mesh's own first, then the skeleton's. */
    USkeletalMeshSocket* FindSocket(FName SocketName) const;
    /** The record of the file the mesh was imported from; a copy made by detaching has none. */
    UAssetSourceFile* GetSourceFile() const;
    void SetSourceFile(UAssetSourceFile* NewSourceFile);

    /** The bounds of LOD 0's vertices as last committed. */
    FBoxSphereBounds GetImportedBounds() const;
    void SetImportedBounds(const FBoxSphereBounds& Bounds);

    // Derived data.

    /** The key of the derived (render) data; changing it makes the render data out of date. */
    const FGuid& GetDerivedDataKey() const { return DerivedDataKey; }
    void InvalidateDeriveDataCacheGUID();
    /** True when the render data was built for the current derived-data key. */
    bool HasValidRenderData() const { return RenderDataKey == DerivedDataKey; }

    /** Broadcast after the render data was rebuilt: after a post-edit-change, an undo or a redo. */
    TMulticastDelegate<void(USkeletalMesh*)>& OnMeshChanged() { return Live.Get().OnMeshChanged; }

    // Asynchronous work.

    /**
     * Waits until asynchronous asset work releases the property. Nothing in this host builds on
     * another thread: work that holds a property is finished here, on the caller's thread.
     */
    void WaitUntilAsyncPropertyReleased(
        ESkeletalMeshAsyncProperties Property,
        ESkeletalMeshAsyncPropertyLockType LockType = ESkeletalMeshAsyncPropertyLockType::ReadOnly) const;
    /** Marks properties as held by asynchronous work; Finish completes that work when waited for. */
    void LockPropertiesForAsyncWork(ESkeletalMeshAsyncProperties Properties, std::function<void()> Finish);
    bool IsAsyncPropertyLocked(ESkeletalMeshAsyncProperties Property) const;

    /** Waits for asynchronous work on the mesh before its state is recorded. */
    bool Modify(bool bAlwaysMarkDirty = true) override;
    void PostEditChange() override;
    void PreEditUndo() override;
    void PostEditUndo() override;
    void PostDuplicate() override;
    void AddReferencedObjects(FReferenceCollector& Collector) override;

private:
    /** Listeners and pending work belong to the live object: undo copies neither. */
    struct FLiveState
    {
        TMulticastDelegate<void(USkeletalMesh*)> OnMeshChanged;
        ESkeletalMeshAsyncProperties LockedProperties = ESkeletalMeshAsyncProperties::None;
        std::function<void()> FinishAsyncWork;
    };

    void RebuildMorphTargets(int32 LODIndex, const FMeshDescription& Description);
    /** The target of that name inside the mesh, dropped earlier, or a new one. */
    UMorphTarget* FindOrCreateMorphTargetObject(FName MorphName);
    /** Brings the render data up to the derived-data key and tells the listeners. */
    void RebuildRenderData();
    void UpdateImportedBounds(const FMeshDescription& Description);

    TArray<FSkeletalLODInfo> LODInfo;
    /** One entry per LOD; a description is shared with undo copies, which ModifyMeshDescription records. */
    TArray<std::shared_ptr<FMeshDescription>> MeshDescriptions;
    TArray<FSkeletalMaterial> Materials;
    FSkeletalMeshImportedModel ImportedModel;
    FReferenceSkeleton RefSkeleton;
    TArray<FMatrix44f> RefBasesInvMatrix;
    FBoxSphereBounds ImportedBounds;
    FGuid DerivedDataKey;
    FGuid RenderDataKey;

    VT_PROPERTY(VisibleAnywhere, Category = "Skeleton")
    TObjectPtr<USkeleton> Skeleton;

    VT_PROPERTY(VisibleAnywhere, Category = "Physics")
    TObjectPtr<UPhysicsAsset> PhysicsAsset;

    VT_PROPERTY(VisibleAnywhere, Category = "Morph Targets")
    TArray<TObjectPtr<UMorphTarget>> MorphTargets;

    VT_PROPERTY(VisibleAnywhere, Category = "Sockets")
    TArray<TObjectPtr<USkeletalMeshSocket>> MeshOnlySockets;

    VT_PROPERTY(VisibleAnywhere, Category = "Import")
    TObjectPtr<UAssetSourceFile> SourceFile;

    mutable TNonTransactedValue<FLiveState> Live;
};
