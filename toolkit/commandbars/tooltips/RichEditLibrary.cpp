#include "toolkit/commandbars/tooltips/RichEditLibrary.h"

CKLVRichEditLibrary& CKLVRichEditLibrary::Get() {
    static CKLVRichEditLibrary library;
    return library;
}

CKLVRichEditLibrary::CKLVRichEditLibrary() {
    if (m_module.LoadLibrary("RICHED20.DLL")) {
        m_strClass = "RichEdit20A";
        m_bVersion2 = TRUE;
    } else if (m_module.LoadLibrary("RICHED32.DLL")) {
        m_strClass = "RICHEDIT";
    }
}
