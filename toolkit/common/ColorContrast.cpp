// The contrast operations of the colour manager. Colours are compared in a box of 195 x 390 x 65
// (red, green, blue weighted by how bright they look); the steps keep the single-precision
// rounding the colour tables were tuned with.
#include "toolkit/common/ColorManager.h"

#include <algorithm>
#include <cmath>

namespace {

const double kBoxSize[3] = {195.0, 390.0, 65.0};
const double kDiagonal = 442.0;

struct Weighted {
    double v[3];
};

Weighted ToWeighted(COLORREF clr) {
    Weighted w;
    for (int i = 0; i < 3; ++i) w.v[i] = ((clr >> (8 * i)) & 0xFF) * kBoxSize[i] / 255.0;
    return w;
}

COLORREF FromWeighted(const Weighted& w) {
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        double x = std::clamp(w.v[i], 0.0, kBoxSize[i]);
        rgb[i] = std::clamp(static_cast<int>(x * 255.0 / kBoxSize[i] + 0.5), 0, 255);
    }
    return RGB(rgb[0], rgb[1], rgb[2]);
}

Weighted Inverted(const Weighted& w) {
    Weighted r;
    for (int i = 0; i < 3; ++i) r.v[i] = kBoxSize[i] - w.v[i];
    return r;
}

double Dot(const Weighted& a, const Weighted& b) { return a.v[0] * b.v[0] + a.v[1] * b.v[1] + a.v[2] * b.v[2]; }
double Length(const Weighted& w) { return std::sqrt(Dot(w, w)); }

double DistanceSquared(const Weighted& a, const Weighted& b) {
    double d = 0;
    for (int i = 0; i < 3; ++i) d += (a.v[i] - b.v[i]) * (a.v[i] - b.v[i]);
    return d;
}

// The threshold relative to a reference of the given length: doubled for black, unchanged from
// a length of 220 up.
double EffectiveThreshold(double dReferenceLength, float fThreshold) {
    int nLength = std::min(static_cast<int>(dReferenceLength), 220);
    return static_cast<float>((2.0 - nLength * static_cast<double>(0.0045454544f)) * std::trunc(fThreshold));
}

}  // namespace

BOOL CKLVColorManager::IsContrastSufficient(COLORREF clrA, COLORREF clrB, BOOL bRelative, float fThreshold) {
    Weighted a = ToWeighted(clrA), b = ToWeighted(clrB);
    double t = bRelative ? EffectiveThreshold(Length(a), fThreshold) : fThreshold;
    float fSquare = static_cast<float>(t * t);
    return DistanceSquared(a, b) > fSquare;
}

COLORREF CKLVColorManager::EnsureContrast(COLORREF clrA, COLORREF clrB, float fThreshold) {
    Weighted a = ToWeighted(clrA), b = ToWeighted(clrB);
    float fLengthA = static_cast<float>(Length(a));
    double t = EffectiveThreshold(fLengthA, fThreshold);
    // Darken along the line from black unless there is no room below a; lighten (the same in
    // the inverted box) unless there is no room above it.
    bool bInvert = Length(b) <= fLengthA ? fLengthA <= t : !(fLengthA > kDiagonal - t);
    if (bInvert) {
        a = Inverted(a);
        b = Inverted(b);
    }
    double n = std::max(Length(b), 0.001);
    double dot = Dot(a, b);
    float k = static_cast<float>(dot / (n * n));
    Weighted p;
    for (int i = 0; i < 3; ++i) p.v[i] = k * b.v[i] - a.v[i];
    // The perpendicular is never longer than t when b is near a; a rounding slip must not
    // produce the root of a negative number.
    double s = std::sqrt(std::max(t * t - Dot(p, p), 0.0));
    float fNewLength = static_cast<float>(dot / n - s);
    float fScale = static_cast<float>(fNewLength / n);
    Weighted r;
    for (int i = 0; i < 3; ++i) r.v[i] = b.v[i] * fScale;
    return FromWeighted(bInvert ? Inverted(r) : r);
}

COLORREF CKLVColorManager::LimitContrast(COLORREF clrA, COLORREF clrB, float fThreshold) {
    Weighted a = ToWeighted(clrA), b = ToWeighted(clrB);
    float fDistance = static_cast<float>(std::sqrt(DistanceSquared(a, b)));
    if (fDistance == 0) return clrB;
    double t = EffectiveThreshold(Length(a), fThreshold);
    double q = (fDistance - t) / fDistance;
    Weighted r;
    for (int i = 0; i < 3; ++i) r.v[i] = b.v[i] + (a.v[i] - b.v[i]) * q;
    return FromWeighted(r);
}
