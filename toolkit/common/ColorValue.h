// Colours with a standard value (computed) and a custom value (an override that wins), and the
// two-colour gradient built from them. -1 means unset throughout.
#pragma once

#include "classlib/Object.h"

class CArchive;

class CKLVColorValue {
public:
    CKLVColorValue() noexcept = default;
    CKLVColorValue(COLORREF clrStandard) noexcept : m_clrStandardValue(clrStandard) {}

    // The effective colour: the custom value when set, else the standard value.
    operator COLORREF() const { return m_clrCustomValue != COLORREF(-1) ? m_clrCustomValue : m_clrStandardValue; }
    COLORREF GetStandardColor() const { return m_clrStandardValue; }
    COLORREF GetCustomColor() const { return m_clrCustomValue; }
    void SetStandardValue(COLORREF clr) { m_clrStandardValue = clr; }
    void SetCustomValue(COLORREF clr) { m_clrCustomValue = clr; }
    // Neither value is set.
    BOOL IsUnset() const { return m_clrStandardValue == COLORREF(-1) && m_clrCustomValue == COLORREF(-1); }

    // The standard value, then the custom value, as two 32-bit words.
    virtual void Serialize(CArchive& ar);

private:
    COLORREF m_clrStandardValue = COLORREF(-1);
    COLORREF m_clrCustomValue = COLORREF(-1);
};

class CKLVGradientColorValue {
public:
    CKLVGradientColorValue() noexcept = default;
    CKLVGradientColorValue(COLORREF clr) noexcept : m_clrFrom(clr), m_clrTo(clr) {}

    void SetStandardValue(COLORREF clrFrom, COLORREF clrTo, float fGradientFactor = 0.5f);
    // The other value's effective colours become this one's standard values; its factor too.
    void SetStandardValueFrom(const CKLVGradientColorValue& other);
    void SetStandardSolid(COLORREF clr) { SetStandardValue(clr, clr, 0.5f); }

    // From, then to, then the factor as one raw 32-bit word.
    virtual void Serialize(CArchive& ar);

    CKLVColorValue m_clrFrom;
    CKLVColorValue m_clrTo;
    float m_fGradientFactor = 0.5f;   // where a two-part gradient changes
};
