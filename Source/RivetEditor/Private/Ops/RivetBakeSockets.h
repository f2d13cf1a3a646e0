#pragma once

struct FRivetBakeBoneResult;
struct FRivetBakePoses;
class USkeletalMesh;

/**
 * Carries a bake to the sockets. With bLocalizeSkeletonSockets, the skeleton's sockets on bones of the
 * mesh that the mesh has no socket of the same name for are first copied onto the mesh. Every mesh
 * socket on a bone of the mesh then gets the transform that keeps it where the pose put it, relative to
 * its bone's new reference pose (recorded and counted only when it changes). Skeleton sockets are never
 * changed: those the mesh has no socket for are counted as left untouched.
 * Writes SocketsCopiedFromSkeleton, SocketsUpdated and SkeletonSocketsLeftUntouched.
 */
void BakeSockets(USkeletalMesh& Mesh, const FRivetBakePoses& Poses, bool bLocalizeSkeletonSockets,
                 FRivetBakeBoneResult& Result);
