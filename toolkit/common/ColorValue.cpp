#include "toolkit/common/ColorValue.h"

#include "classlib/Archive.h"

void CKLVColorValue::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_clrStandardValue) << static_cast<DWORD>(m_clrCustomValue);
    } else {
        DWORD dwStandard = 0, dwCustom = 0;
        ar >> dwStandard >> dwCustom;
        m_clrStandardValue = dwStandard;
        m_clrCustomValue = dwCustom;
    }
}

void CKLVGradientColorValue::SetStandardValue(COLORREF clrFrom, COLORREF clrTo, float fGradientFactor) {
    m_clrFrom.SetStandardValue(clrFrom);
    m_clrTo.SetStandardValue(clrTo);
    m_fGradientFactor = fGradientFactor;
}

void CKLVGradientColorValue::SetStandardValueFrom(const CKLVGradientColorValue& other) {
    SetStandardValue(other.m_clrFrom, other.m_clrTo, other.m_fGradientFactor);
}

void CKLVGradientColorValue::Serialize(CArchive& ar) {
    m_clrFrom.Serialize(ar);
    m_clrTo.Serialize(ar);
    if (ar.IsStoring())
        ar << m_fGradientFactor;
    else
        ar >> m_fGradientFactor;
}
