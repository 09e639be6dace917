#pragma once

#include "../platform/CArray.h"
#include "../platform/CObject.h"
#include "../platform/CPoint.h"
#include "Numerico.h"

// A plane vector of two doubles: arch-curve points, head-profile points, tuning graphs.
class KORVANE_API CPunto2DKorvane : public CObject {
public:
    CPunto2DKorvane(double x = 0, double y = 0) : X(x), Y(y) {}
    CPunto2DKorvane(const CPunto2DKorvane& altro) : CObject(), X(altro.X), Y(altro.Y) {}
    CPunto2DKorvane(const CPoint& punto);
    ~CPunto2DKorvane() override = default;

    CPunto2DKorvane& operator=(const CPunto2DKorvane& altro)
    {
        X = altro.X;
        Y = altro.Y;
        return *this;
    }
    int operator==(const CPunto2DKorvane& altro) const;

    void SetX(double x) { X = x; }
    void SetY(double y) { Y = y; }
    void SetPunto(double x, double y);
    void SetPunto(CPoint punto);
    double GetX() const { return X; }
    double GetY() const { return Y; }

    CPunto2DKorvane operator+(const CPunto2DKorvane& altro) const;
    CPunto2DKorvane operator-(const CPunto2DKorvane& altro) const;
    // Component-wise product, not a dot or cross product.
    CPunto2DKorvane operator*(const CPunto2DKorvane& altro) const;
    CPunto2DKorvane operator*(double k) const;

    double Lunghezza() const;
    CPunto2DKorvane Versore() const;
    // Rotated about the origin by `a` radians, counter-clockwise.
    CPunto2DKorvane Ruota(double a) const;
    double ProdottoScalare(CPunto2DKorvane& altro) const;

    CPoint GetPunto() const { return {ArrotondaInt(X), ArrotondaInt(Y)}; }
    Gdiplus::Point GetPoint() const { return {ArrotondaInt(X), ArrotondaInt(Y)}; }
    operator CPoint() const { return GetPunto(); }
    operator Gdiplus::Point() const { return GetPoint(); }

    const CRuntimeClass* GetRuntimeClass() const override;
    void Serialize(CArchive& ar) override;
    static const CRuntimeClass classCPunto2DKorvane;
    static CObject* CreateObject();

    double X;
    double Y;
};

using ArrayPunti2D = CArray<CPunto2DKorvane, const CPunto2DKorvane&>;
