// An off-screen DC a control paints into (at 0, 0 for the rectangle's corner), optionally filled
// with a gradient first, and copied to the target DC when it goes out of scope.
#pragma once

#include "classlib/Dc.h"
#include "toolkit/common/ColorValue.h"

class CKLMemDC : public CDC {
    DECLARE_DYNAMIC(CKLMemDC)
public:
    // An empty rectangle means the target's clip box. The fill is skipped when its second
    // colour is unset.
    CKLMemDC(CDC* pDC, const CRect& rect = CRect(0, 0, 0, 0),
             CKLVGradientColorValue clrBack = CKLVGradientColorValue(), BOOL bHorz = FALSE);
    ~CKLMemDC() override;

    BOOL IsValid() const { return m_bValid; }
    const CRect& GetRect() const { return m_rc; }

private:
    CDC* m_pDC;
    BOOL m_bValid = FALSE;
    CRect m_rc;
    CBitmap m_bitmap;
    HBITMAP m_hOldBitmap = nullptr;
};
