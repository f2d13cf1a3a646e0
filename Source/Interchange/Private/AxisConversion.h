#pragma once

#include "Core/Math/Matrix.h"
#include "Core/Math/Transform.h"
#include "Core/Math/Vector4.h"

/**
 * The change from a file's frame to the host's (Z up, right-handed, centimetres): a rotation that
 * permutes the axes (with signs, determinant +1) and a uniform scale. Component I of a host vector
 * is Sign[I] * Scale * the file vector's component Axis[I]. Because the rotation is a signed
 * permutation, converting values is exact apart from the scale.
 */
struct FAxisConversion
{
    int32 Axis[3] = {0, 1, 2};
    double Sign[3] = {1.0, 1.0, 1.0};
    double Scale = 1.0;

    /** No change: files written by this exporter keep host space under their conversion node. */
    static FAxisConversion Identity() { return {}; }
    /** glTF's frame (Y up, metres): a quarter turn about X, file +Y becoming host +Z, and 100 cm per metre.
     */
    static FAxisConversion FromYUpMetres();
    /** A file whose up axis is UpAxis (0 X, 1 Y, 2 Z) pointing to UpSign, with CentimetresPerUnit. */
    static FAxisConversion FromUpAxis(int32 UpAxis, int32 UpSign, double CentimetresPerUnit);

    bool IsIdentity() const;

    FVector Position(const FVector& V) const { return Direction(V) * Scale; }
    FVector Direction(const FVector& V) const;
    FVector3f Position(const FVector3f& V) const { return FVector3f(Position(FVector(V))); }
    FVector3f Direction(const FVector3f& V) const { return FVector3f(Direction(FVector(V))); }
    /** Per-axis scale factors follow their axes; signs do not apply. */
    FVector ScaleFactors(const FVector& S) const;
    FQuat Rotation(const FQuat& Q) const;
    /** A file transform seen in host space: conversion⁻¹ · T · conversion. */
    FTransform Transform(const FTransform& T) const;
    FMatrix Matrix(const FMatrix& M) const;

private:
    /** Component Index of a host vector from a file vector's components In. */
    double Component(const double (&In)[3], int32 Index) const;
};
