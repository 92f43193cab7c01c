#include "toolkit/tabs/TabImageTransforms.h"

#include <cstring>

namespace KLVTabImage {

void FlipVertical(int cx, int cy, const uint32_t* pSource, uint32_t* pDest) {
    for (int i = 0; i < cy; ++i)
        std::memcpy(pDest + static_cast<size_t>(i) * cx, pSource + static_cast<size_t>(cy - 1 - i) * cx,
                    sizeof(uint32_t) * cx);
}

void Transpose(int cx, int cy, const uint32_t* pSource, uint32_t* pDest) {
    for (int r = 0; r < cy; ++r)
        for (int c = 0; c < cx; ++c) pDest[static_cast<size_t>(c) * cy + r] = pSource[static_cast<size_t>(r) * cx + c];
}

void TransposeReverse(int cx, int cy, const uint32_t* pSource, uint32_t* pDest) {
    const size_t nLast = static_cast<size_t>(cx) * cy - 1;
    for (int r = 0; r < cy; ++r)
        for (int c = 0; c < cx; ++c)
            pDest[nLast - (static_cast<size_t>(c) * cy + r)] = pSource[static_cast<size_t>(r) * cx + c];
}

}  // namespace KLVTabImage
