#include "app/SystemErrorText.h"

std::string SystemErrorText(DWORD nError) {
    char szText[512] = "";
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, nError, 0, szText,
                     sizeof(szText), nullptr);
    std::string strText = szText;
    while (!strText.empty() && (strText.back() == '\r' || strText.back() == '\n' || strText.back() == ' '))
        strText.pop_back();
    return "error " + std::to_string(nError) + (strText.empty() ? "" : ": " + strText);
}
