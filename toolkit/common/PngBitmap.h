// PNG images decoded into 32-bit bitmaps (blue, green, red, alpha) through libpng.
#pragma once

#include "classlib/File.h"
#include "classlib/GdiObject.h"

class CKLVPngBitmap : public CBitmap {
public:
    // Colour of the file's bKGD chunk, when it has one.
    struct CBackground {
        BYTE red = 0, green = 0, blue = 0;
    };

    // Decodes a "PNG" resource; FALSE (and no bitmap) for a missing, short or undecodable one.
    BOOL LoadPngFromResource(HMODULE hModule, HRSRC hResource);
    BOOL LoadPngFromFile(CFile* pFile);

    // Rows of width × channels bytes (3: R, G, B; 4: R, G, B, A), top row first, in a buffer the
    // caller frees with free(). No exception leaves it: any failure is FALSE with *ppPixels null.
    static BOOL DecodePng(CFile* pFile, BYTE** ppPixels, int* pnWidth, int* pnHeight, int* pnChannels,
                          CBackground* pBackground);
    // A top-down 32-bit DIB section of the pixels; alpha 0 for 3 channels.
    static HBITMAP CreateBitmap32FromPixels(const BYTE* pPixels, int nWidth, int nHeight, int nChannels);

    BOOL IsAlpha() const { return m_bAlpha; }

    BOOL m_bAlpha = FALSE;
};
