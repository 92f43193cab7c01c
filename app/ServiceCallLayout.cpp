#include "app/ServiceCallLayout.h"

#include "app/res/Resource.h"

#include <algorithm>

namespace {

// The template's size: the layout's least.
const int kLeastWidth = 480, kLeastHeight = 330;
const int kMargin = 7, kGap = 4;

RECT Place(int x, int y, int cx, int cy) {
    return RECT{x, y, x + cx, y + cy};
}

}  // namespace

std::vector<CCallControlPlace> ServiceCallLayout(int nWidth, int nHeight) {
    const int W = std::max(nWidth, kLeastWidth), H = std::max(nHeight, kLeastHeight);
    const int nColumn = (W - 2 * kMargin - kGap) / 2;
    const int xRight = kMargin + nColumn + kGap;
    const int yMiddleEnd = H - 62;   // the request's problems and the answer end above the history
    const int yBottom = H - 57;
    return {
        {IDC_CALL_ENDPOINT, Place(44, 25, W - 202, 14)},
        {IDC_CALL_SEND, Place(W - 150, 25, 44, 14)},
        {IDC_CALL_CANCEL, Place(W - 101, 25, 44, 14)},
        {IDC_CALL_CHECK, Place(W - 52, 25, 44, 14)},
        {IDC_CALL_REQUEST_LABEL, Place(kMargin, 45, 60, 8)},
        {IDC_CALL_REQUEST, Place(kMargin, 55, nColumn, yMiddleEnd - 41 - 55)},
        {IDC_CALL_PROBLEMS, Place(kMargin, yMiddleEnd - 38, nColumn, 38)},
        {IDC_CALL_ANSWER_LABEL, Place(xRight, 45, 60, 8)},
        {IDC_CALL_STATUS, Place(xRight, 55, W - kMargin - xRight, 56)},
        {IDC_CALL_ANSWER, Place(xRight, 114, W - kMargin - xRight, yMiddleEnd - 114)},
        {IDC_CALL_HISTORY_LABEL, Place(kMargin, yBottom, 40, 8)},
        {IDC_CALL_HISTORY, Place(kMargin, yBottom + 10, W - 180, 40)},
        {IDC_CALL_REOPEN, Place(W - 168, yBottom + 10, 40, 14)},
        {IDC_CALL_MOCK_LABEL, Place(W - 120, yBottom, 70, 8)},
        {IDC_CALL_MOCK_PORT, Place(W - 120, yBottom + 10, 40, 14)},
        {IDC_CALL_MOCK, Place(W - 76, yBottom + 10, 69, 14)},
        {IDC_CALL_MOCK_STATE, Place(W - 120, yBottom + 27, 113, 24)},
    };
}
