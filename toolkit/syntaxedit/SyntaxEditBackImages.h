// The edit control's two back images, the gutter's and the text's, kept between paints: they are
// made again only when their sizes or the screen's colour depth change, so that a paint of a few
// rows neither makes nor clears whole images. Side by side they are as large as the client area.
#pragma once

#include "classlib/ClassLib.h"

class CKLVSyntaxEditBackImages {
public:
    CKLVSyntaxEditBackImages() = default;
    ~CKLVSyntaxEditBackImages() { Release(); }
    CKLVSyntaxEditBackImages(const CKLVSyntaxEditBackImages&) = delete;
    CKLVSyntaxEditBackImages& operator=(const CKLVSyntaxEditBackImages&) = delete;

    // Images of the sizes, compatible with the DC, kept from the last call when they still fit;
    // FALSE when they cannot be made. What a kept image holds stays as the last paint left it.
    BOOL Prepare(CDC* pDC, CSize szGutter, CSize szText);
    void Release();
    CDC& Gutter() { return m_dcGutter; }
    CDC& Text() { return m_dcText; }
    // How often images were made, for the paint's tests.
    int GetBuildCount() const { return m_nBuilds; }

private:
    // The colour depth the DC's compatible bitmaps get.
    static int BitsPerPixel(CDC* pDC);

    CBitmap m_bmGutter;
    CBitmap m_bmText;
    CDC m_dcGutter;
    CDC m_dcText;
    HGDIOBJ m_hOldGutter = nullptr;
    HGDIOBJ m_hOldText = nullptr;
    CSize m_szGutter{0, 0};
    CSize m_szText{0, 0};
    int m_nBits = 0;
    int m_nBuilds = 0;
};
