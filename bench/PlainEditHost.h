// An edit control over text read straight into its buffer (no file, no lexer) in a hidden
// 800 x 600 window: the control alone, for benchmarks that time its own drawing and scrolling.
#pragma once

#include "classlib/Archive.h"
#include "classlib/MemFile.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <string>

class CPlainEditHost {
public:
    CPlainEditHost(const std::string& text, BOOL bScrollBars) {
        auto* pBuffer = new CKLVSyntaxEditBufferManager;
        {
            CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(text.data())), static_cast<UINT>(text.size()));
            CArchive ar(&file, CArchive::load);
            pBuffer->Serialize(ar);
        }
        m_parent.Attach(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr));
        m_ctrl.Create(&m_parent, bScrollBars, bScrollBars, pBuffer);
        pBuffer->InternalRelease();
        m_ctrl.MoveWindow(0, 0, 800, 600);
        m_ctrl.RecalcLayout();
    }
    ~CPlainEditHost() {
        m_ctrl.DestroyWindow();
        ::DestroyWindow(m_parent.Detach());
    }
    CPlainEditHost(const CPlainEditHost&) = delete;
    CPlainEditHost& operator=(const CPlainEditHost&) = delete;

    CKLVSyntaxEditCtrl& Ctrl() { return m_ctrl; }

private:
    CWnd m_parent;
    CKLVSyntaxEditCtrl m_ctrl;
};
