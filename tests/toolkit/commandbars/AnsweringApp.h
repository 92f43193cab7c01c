// An application for as long as it lives that answers every message box with one answer and
// keeps the prompts.
#pragma once

#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"

#include <string>
#include <vector>

namespace commandbars_test {

class CSavedThread {
protected:
    CWinThread* m_pSavedThread = AfxGetThreadState()->m_pCurrentWinThread;
};

class CAnsweringApp : private CSavedThread, public CWinApp {
public:
    explicit CAnsweringApp(int nAnswer) : CWinApp("Kelvane test"), m_nAnswer(nAnswer) {}
    ~CAnsweringApp() override { AfxGetThreadState()->m_pCurrentWinThread = m_pSavedThread; }
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) override {
        m_prompts.emplace_back(lpszPrompt);
        m_nType = nType;
        return m_nAnswer;
    }
    int m_nAnswer;
    UINT m_nType = 0;
    std::vector<std::string> m_prompts;
};

}  // namespace commandbars_test
