// An application for the tests that counts the message boxes it is asked to show and answers
// each with OK without showing it.
#pragma once

#include "classlib/ClassLib.h"

namespace classlib_test {

class CBoxCountingApp : public CWinApp {
public:
    explicit CBoxCountingApp(LPCTSTR lpszAppName) : CWinApp(lpszAppName) {}
    int m_nBoxes = 0;
    int DoMessageBox(LPCTSTR, UINT, UINT) override {
        ++m_nBoxes;
        return IDOK;
    }
};

}  // namespace classlib_test
