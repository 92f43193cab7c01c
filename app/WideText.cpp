#include "app/WideText.h"

std::wstring WideText(const std::string& strText, UINT nCodePage) {
    if (strText.empty()) return std::wstring();
    const int nLength = ::MultiByteToWideChar(nCodePage, 0, strText.data(), static_cast<int>(strText.size()), nullptr, 0);
    std::wstring strWide(static_cast<size_t>(nLength > 0 ? nLength : 0), L'\0');
    if (nLength > 0)
        ::MultiByteToWideChar(nCodePage, 0, strText.data(), static_cast<int>(strText.size()), &strWide[0], nLength);
    return strWide;
}

std::string NarrowText(const std::wstring& strWide, UINT nCodePage) {
    if (strWide.empty()) return std::string();
    const int nLength = ::WideCharToMultiByte(nCodePage, 0, strWide.data(), static_cast<int>(strWide.size()), nullptr, 0,
                                              nullptr, nullptr);
    std::string strText(static_cast<size_t>(nLength > 0 ? nLength : 0), '\0');
    if (nLength > 0)
        ::WideCharToMultiByte(nCodePage, 0, strWide.data(), static_cast<int>(strWide.size()), &strText[0], nLength,
                              nullptr, nullptr);
    return strText;
}
