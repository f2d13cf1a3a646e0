#include "Interchange/Private/AxisConversion.h"

FAxisConversion FAxisConversion::FromYUpMetres()
{
    FAxisConversion Conversion;
    Conversion.Axis[0] = 0;
    Conversion.Axis[1] = 2;
    Conversion.Axis[2] = 1;
    Conversion.Sign[1] = -1.0;
    Conversion.Scale = 100.0;
    return Conversion;
}

FAxisConversion FAxisConversion::FromUpAxis(int32 UpAxis, int32 UpSign, double CentimetresPerUnit)
{
    FAxisConversion Conversion;
    Conversion.Scale = CentimetresPerUnit;
    if (UpAxis == 1)
    {
        Conversion = FromYUpMetres();
        Conversion.Scale = CentimetresPerUnit;
        if (UpSign < 0)
        {
            Conversion.Sign[1] = 1.0;
            Conversion.Sign[2] = -1.0;
        }
        return Conversion;
    }
    // Cyclic permutations keep the determinant; turning the up axis over turns a second axis too.
    Conversion.Axis[0] = (UpAxis + 1) % 3;
    Conversion.Axis[1] = (UpAxis + 2) % 3;
    Conversion.Axis[2] = UpAxis;
    if (UpSign < 0)
    {
        Conversion.Sign[1] = -1.0;
        Conversion.Sign[2] = -1.0;
    }
    return Conversion;
}

bool FAxisConversion::IsIdentity() const
{
    return Axis[0] == 0 && Axis[1] == 1 && Axis[2] == 2 && Sign[0] == 1.0 && Sign[1] == 1.0 &&
           Sign[2] == 1.0 && Scale == 1.0;
}

FVector FAxisConversion::Direction(const FVector& V) const
{
    const double In[3] = {V.X, V.Y, V.Z};
    return FVector(Component(In, 0), Component(In, 1), Component(In, 2));
}

double FAxisConversion::Component(const double (&In)[3], int32 Index) const
{
    // A turned-over axis would make the file's zeros negative zeros, which the host's own files do not
    // keep: adding zero keeps them zeros, so the assets write the same bytes after another read.
    return Sign[Index] < 0.0 ? -In[Axis[Index]] + 0.0 : In[Axis[Index]];
}

FVector FAxisConversion::ScaleFactors(const FVector& S) const
{
    const double In[3] = {S.X, S.Y, S.Z};
    return FVector(In[Axis[0]], In[Axis[1]], In[Axis[2]]);
}

FQuat FAxisConversion::Rotation(const FQuat& Q) const
{
    const FVector Axis3 = Direction(FVector(Q.X, Q.Y, Q.Z));
    return FQuat(Axis3.X, Axis3.Y, Axis3.Z, Q.W);
}

FTransform FAxisConversion::Transform(const FTransform& T) const
{
    return FTransform(Rotation(T.GetRotation()), Position(T.GetTranslation()), ScaleFactors(T.GetScale3D()));
}

FMatrix FAxisConversion::Matrix(const FMatrix& M) const
{
    FMatrix Forward;
    for (int32 Row = 0; Row < 3; ++Row)
    {
        for (int32 Column = 0; Column < 3; ++Column)
        {
            // Row-vector convention: host component Column takes file component Axis[Column].
            Forward.M[Row][Column] = Axis[Column] == Row ? Sign[Column] * Scale : 0.0;
        }
    }
    return Forward.Inverse() * M * Forward;
}
