// The rich-edit library the bars' text fields are made of: version 2 when it loads, else the
// older one; made on first use and kept to the end of the process.
#pragma once

#include "toolkit/common/LoadedModule.h"

class CKLVRichEditLibrary {
public:
    static CKLVRichEditLibrary& Get();

    BOOL IsLoaded() const { return m_module.GetHandle() != nullptr; }
    const CString& GetWindowClass() const { return m_strClass; }
    BOOL IsVersion2() const { return m_bVersion2; }

private:
    CKLVRichEditLibrary();

    CKLVLoadedModule m_module;
    CString m_strClass;
    BOOL m_bVersion2 = FALSE;
};
