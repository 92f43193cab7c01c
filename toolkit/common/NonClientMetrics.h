// The system's non-client metrics in their first, 340-byte form, which every system answers.
#pragma once

#include <windows.h>

#include <cstddef>

class CKLVNonClientMetrics : public NONCLIENTMETRICSA {
public:
    enum { nSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA) };

    CKLVNonClientMetrics() : NONCLIENTMETRICSA() {
        cbSize = nSize;
        ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, nSize, this, 0);
    }
};

static_assert(CKLVNonClientMetrics::nSize == 340, "the first non-client metrics record is 340 bytes");
