#include "Interchange/Private/PhysicsExtras.h"

#include "Engine/PhysicsEngine/PhysicsAsset.h"
#include "Interchange/Private/ImportedText.h"
#include "Interchange/Private/InterchangeExtras.h"

#include <limits>
#include <type_traits>

using nlohmann::json;
using namespace InterchangeExtras;

namespace
{
FName ReadName(const json& Json, const char* Key)
{
    const std::string Text = Json.value(Key, std::string());
    return ImportedText::ToName(Text);
}

json WriteGrid(const FGridDimensions& Grid)
{
    return json::array({Grid.X, Grid.Y, Grid.Z});
}

FGridDimensions ReadGrid(const json& Json)
{
    return FGridDimensions{ReadInt(Json.at(0), 0, INT32_MAX), ReadInt(Json.at(1), 0, INT32_MAX),
                           ReadInt(Json.at(2), 0, INT32_MAX)};
}

template <typename T>
json WriteNumbers(const TArray<T>& Values)
{
    json Result = json::array();
    for (const T& Value : Values)
    {
        Result.push_back(Value);
    }
    return Result;
}

template <typename T>
TArray<T> ReadNumbers(const json& Json)
{
    TArray<T> Result;
    Result.Reserve(static_cast<int32>(Json.size()));
    for (const json& Value : Json)
    {
        if constexpr (std::is_same_v<T, float>)
        {
            Result.Add(ReadFloat(Value));
        }
        else if constexpr (std::is_floating_point_v<T>)
        {
            Result.Add(ReadDouble(Value));
        }
        else
        {
            Result.Add(
                static_cast<T>(ReadInt(Value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max())));
        }
    }
    return Result;
}

json WriteLevelSet(const FKLevelSetElem& LevelSet)
{
    return json{{"name", *LevelSet.Name.ToString()},
                {"transform", WriteTransform(LevelSet.Transform)},
                {"grid", WriteGrid(LevelSet.GridDims)},
                {"cellSize", LevelSet.CellSize},
                {"distances", WriteNumbers(LevelSet.Distances)}};
}

void ReadLevelSet(const json& Json, FKLevelSetElem& LevelSet)
{
    LevelSet.Name = ReadName(Json, "name");
    LevelSet.Transform = ReadTransform(Json.at("transform"));
    LevelSet.GridDims = ReadGrid(Json.at("grid"));
    LevelSet.CellSize = ReadDouble(Json.at("cellSize"));
    LevelSet.Distances = ReadNumbers<float>(ReadList(Json, "distances"));
}

json WriteBody(const USkeletalBodySetup& Body)
{
    const FKAggregateGeometry& Geometry = Body.AggGeom;
    json Result{{"bone", *Body.BoneName.ToString()}};
    json& Spheres = Result["spheres"] = json::array();
    for (const FKSphereElem& Sphere : Geometry.SphereElems)
    {
        Spheres.push_back({{"name", *Sphere.Name.ToString()},
                           {"center", WriteVector(Sphere.Center)},
                           {"radius", Sphere.Radius}});
    }
    json& Boxes = Result["boxes"] = json::array();
    for (const FKBoxElem& Box : Geometry.BoxElems)
    {
        Boxes.push_back({{"name", *Box.Name.ToString()},
                         {"center", WriteVector(Box.Center)},
                         {"rotation", WriteRotator(Box.Rotation)},
                         {"size", json::array({Box.X, Box.Y, Box.Z})}});
    }
    json& Capsules = Result["capsules"] = json::array();
    for (const FKCapsuleElem& Capsule : Geometry.CapsuleElems)
    {
        Capsules.push_back({{"name", *Capsule.Name.ToString()},
                            {"center", WriteVector(Capsule.Center)},
                            {"rotation", WriteRotator(Capsule.Rotation)},
                            {"radius", Capsule.Radius},
                            {"length", Capsule.Length}});
    }
    json& Tapered = Result["taperedCapsules"] = json::array();
    for (const FKTaperedCapsuleElem& Capsule : Geometry.TaperedCapsuleElems)
    {
        Tapered.push_back({{"name", *Capsule.Name.ToString()},
                           {"center", WriteVector(Capsule.Center)},
                           {"rotation", WriteRotator(Capsule.Rotation)},
                           {"radius0", Capsule.Radius0},
                           {"radius1", Capsule.Radius1},
                           {"length", Capsule.Length}});
    }
    json& Convexes = Result["convexes"] = json::array();
    for (const FKConvexElem& Convex : Geometry.ConvexElems)
    {
        json Points = json::array();
        for (const FVector& Point : Convex.VertexData)
        {
            Points.push_back(WriteVector(Point));
        }
        Convexes.push_back({{"name", *Convex.Name.ToString()},
                            {"transform", WriteTransform(Convex.Transform)},
                            {"points", Points}});
    }
    json& LevelSets = Result["levelSets"] = json::array();
    for (const FKLevelSetElem& LevelSet : Geometry.LevelSetElems)
    {
        LevelSets.push_back(WriteLevelSet(LevelSet));
    }
    json& Skinned = Result["skinnedLevelSets"] = json::array();
    for (const FKSkinnedLevelSetElem& LevelSet : Geometry.SkinnedLevelSetElems)
    {
        json Entry = WriteLevelSet(LevelSet);
        json Bones = json::array();
        for (const FName Bone : LevelSet.BoneNames)
        {
            Bones.push_back(*Bone.ToString());
        }
        Entry["bones"] = Bones;
        Entry["lattice"] = WriteGrid(LevelSet.LatticeDims);
        Entry["latticeWeights"] = WriteNumbers(LevelSet.LatticeBoneWeights);
        Skinned.push_back(Entry);
    }
    return Result;
}

void CheckLevelSet(const FString& Problem, FName Bone)
{
    if (!Problem.IsEmpty())
    {
        FailImport("malformed physics extras: a level set of body '%s': %s", *Bone.ToString(), *Problem);
    }
}

FImportedBody ReadBody(const json& Json)
{
    FImportedBody Body;
    Body.BoneName = ReadName(Json, "bone");
    FKAggregateGeometry& Geometry = Body.Geometry;
    for (const json& Entry : ReadList(Json, "spheres"))
    {
        Geometry.SphereElems.Add(FKSphereElem{ReadName(Entry, "name"), ReadVector(Entry.at("center")),
                                              ReadFloat(Entry.at("radius"))});
    }
    for (const json& Entry : ReadList(Json, "boxes"))
    {
        const json& Size = Entry.at("size");
        Geometry.BoxElems.Add(FKBoxElem{ReadName(Entry, "name"), ReadVector(Entry.at("center")),
                                        ReadRotator(Entry.at("rotation")), ReadFloat(Size.at(0)),
                                        ReadFloat(Size.at(1)), ReadFloat(Size.at(2))});
    }
    for (const json& Entry : ReadList(Json, "capsules"))
    {
        Geometry.CapsuleElems.Add(FKCapsuleElem{
            ReadName(Entry, "name"), ReadVector(Entry.at("center")), ReadRotator(Entry.at("rotation")),
            ReadFloat(Entry.at("radius")), ReadFloat(Entry.at("length"))});
    }
    for (const json& Entry : ReadList(Json, "taperedCapsules"))
    {
        Geometry.TaperedCapsuleElems.Add(FKTaperedCapsuleElem{
            ReadName(Entry, "name"), ReadVector(Entry.at("center")), ReadRotator(Entry.at("rotation")),
            ReadFloat(Entry.at("radius0")), ReadFloat(Entry.at("radius1")), ReadFloat(Entry.at("length"))});
    }
    for (const json& Entry : ReadList(Json, "convexes"))
    {
        FKConvexElem Convex;
        Convex.Name = ReadName(Entry, "name");
        Convex.Transform = ReadTransform(Entry.at("transform"));
        for (const json& Point : ReadList(Entry, "points"))
        {
            Convex.VertexData.Add(ReadVector(Point));
        }
        Convex.UpdateElemBox();
        Geometry.ConvexElems.Add(Convex);
    }
    for (const json& Entry : ReadList(Json, "levelSets"))
    {
        FKLevelSetElem LevelSet;
        ReadLevelSet(Entry, LevelSet);
        CheckLevelSet(LevelSet.Validate(), Body.BoneName);
        Geometry.LevelSetElems.Add(LevelSet);
    }
    for (const json& Entry : ReadList(Json, "skinnedLevelSets"))
    {
        FKSkinnedLevelSetElem LevelSet;
        ReadLevelSet(Entry, LevelSet);
        for (const json& Bone : ReadList(Entry, "bones"))
        {
            LevelSet.BoneNames.Add(ImportedText::ToName(Bone.get<std::string>()));
        }
        LevelSet.LatticeDims = ReadGrid(Entry.at("lattice"));
        LevelSet.LatticeBoneWeights = ReadNumbers<float>(ReadList(Entry, "latticeWeights"));
        CheckLevelSet(LevelSet.Validate(), Body.BoneName);
        Geometry.SkinnedLevelSetElems.Add(LevelSet);
    }
    return Body;
}

json WriteConstraint(const FPhysicsConstraintSetup& Setup)
{
    return json{{"bone1", *Setup.ConstraintBone1.ToString()},
                {"bone2", *Setup.ConstraintBone2.ToString()},
                {"position1", WriteVector(Setup.Position1)},
                {"position2", WriteVector(Setup.Position2)},
                {"primaryAxis1", WriteVector(Setup.PrimaryAxis1)},
                {"secondaryAxis1", WriteVector(Setup.SecondaryAxis1)},
                {"primaryAxis2", WriteVector(Setup.PrimaryAxis2)},
                {"secondaryAxis2", WriteVector(Setup.SecondaryAxis2)},
                {"linearLimit", Setup.LinearLimit},
                {"swing1Limit", Setup.Swing1Limit},
                {"swing2Limit", Setup.Swing2Limit},
                {"twistLimit", Setup.TwistLimit}};
}

FPhysicsConstraintSetup ReadConstraint(const json& Json)
{
    FPhysicsConstraintSetup Setup;
    Setup.ConstraintBone1 = ReadName(Json, "bone1");
    Setup.ConstraintBone2 = ReadName(Json, "bone2");
    Setup.Position1 = ReadVector(Json.at("position1"));
    Setup.Position2 = ReadVector(Json.at("position2"));
    Setup.PrimaryAxis1 = ReadVector(Json.at("primaryAxis1"));
    Setup.SecondaryAxis1 = ReadVector(Json.at("secondaryAxis1"));
    Setup.PrimaryAxis2 = ReadVector(Json.at("primaryAxis2"));
    Setup.SecondaryAxis2 = ReadVector(Json.at("secondaryAxis2"));
    Setup.LinearLimit = ReadFloat(Json.at("linearLimit"));
    Setup.Swing1Limit = ReadFloat(Json.at("swing1Limit"));
    Setup.Swing2Limit = ReadFloat(Json.at("swing2Limit"));
    Setup.TwistLimit = ReadFloat(Json.at("twistLimit"));
    return Setup;
}
} // namespace

namespace PhysicsExtras
{
json Write(const UPhysicsAsset& PhysicsAsset)
{
    json Bodies = json::array();
    for (const USkeletalBodySetup* Body : PhysicsAsset.SkeletalBodySetups)
    {
        if (Body)
        {
            Bodies.push_back(WriteBody(*Body));
        }
    }
    json Constraints = json::array();
    for (const UPhysicsConstraintTemplate* Constraint : PhysicsAsset.ConstraintSetup)
    {
        if (Constraint)
        {
            Constraints.push_back(WriteConstraint(Constraint->DefaultInstance));
        }
    }
    return json{{"bodies", Bodies}, {"constraints", Constraints}};
}

FImportedPhysics Read(const json& Json)
{
    return Guard("physics",
                 [&Json]
                 {
                     FImportedPhysics Physics;
                     for (const json& Body : ReadList(Json, "bodies"))
                     {
                         Physics.Bodies.Add(ReadBody(Body));
                     }
                     for (const json& Constraint : ReadList(Json, "constraints"))
                     {
                         Physics.Constraints.Add(ReadConstraint(Constraint));
                     }
                     return Physics;
                 });
}
} // namespace PhysicsExtras
