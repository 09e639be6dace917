#include "core/Punto2DKorvane.h"

#include <cmath>

#include "core/Numerico.h"

const CRuntimeClass CPunto2DKorvane::classCPunto2DKorvane = {"CPunto2DKorvane", VERSIONABLE_SCHEMA | 1u,
                                                             &CPunto2DKorvane::CreateObject};

CObject* CPunto2DKorvane::CreateObject()
{
    return new CPunto2DKorvane;
}

const CRuntimeClass* CPunto2DKorvane::GetRuntimeClass() const
{
    return &classCPunto2DKorvane;
}

CPunto2DKorvane::CPunto2DKorvane(const CPoint& punto) : X(static_cast<double>(punto.x)), Y(static_cast<double>(punto.y)) {}

int CPunto2DKorvane::operator==(const CPunto2DKorvane& altro) const
{
    return X == altro.X && Y == altro.Y ? 1 : 0;
}

void CPunto2DKorvane::SetPunto(double x, double y)
{
    X = x;
    Y = y;
}

void CPunto2DKorvane::SetPunto(CPoint punto)
{
    X = static_cast<double>(punto.x);
    Y = static_cast<double>(punto.y);
}

CPunto2DKorvane CPunto2DKorvane::operator+(const CPunto2DKorvane& altro) const
{
    return {X + altro.X, Y + altro.Y};
}

CPunto2DKorvane CPunto2DKorvane::operator-(const CPunto2DKorvane& altro) const
{
    return {X - altro.X, Y - altro.Y};
}

CPunto2DKorvane CPunto2DKorvane::operator*(const CPunto2DKorvane& altro) const
{
    return {X * altro.X, Y * altro.Y};
}

CPunto2DKorvane CPunto2DKorvane::operator*(double k) const
{
    return {k * X, k * Y};
}

double CPunto2DKorvane::Lunghezza() const
{
    return std::sqrt(X * X + Y * Y);
}

CPunto2DKorvane CPunto2DKorvane::Versore() const
{
    const double l = Lunghezza();
    return {X / l, Y / l};
}

CPunto2DKorvane CPunto2DKorvane::Ruota(double a) const
{
    const double l = Lunghezza();
    double theta = std::atan2(Y, X) + a;
    if (theta > PI_GRECO)
        theta -= 2.0 * PI_GRECO;
    if (theta < -PI_GRECO)
        theta += 2.0 * PI_GRECO;
    return {l * std::cos(theta), l * std::sin(theta)};
}

double CPunto2DKorvane::ProdottoScalare(CPunto2DKorvane& altro) const
{
    return X * altro.X + Y * altro.Y;
}

void CPunto2DKorvane::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    ar.SerializeClass(&classCPunto2DKorvane);
    if (ar.IsStoring())
        ar << X << Y;
    else
        ar >> X >> Y;
}
