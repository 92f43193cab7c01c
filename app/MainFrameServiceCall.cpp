// The "Call the Service" command: the window for the open project, made on first use.
#include "app/MainFrame.h"

#include "app/ServiceCallWindow.h"

void CMainFrame::OnCallService() {
    if (!GetProject()) return;
    // A window closed before is made afresh, with its editors and the project's state.
    if (!m_pServiceCall || !m_pServiceCall->GetSafeHwnd()) m_pServiceCall = std::make_unique<CServiceCallWindow>();
    m_pServiceCall->Open(*this);
}

void CMainFrame::CloseServiceCall() {
    if (m_pServiceCall) m_pServiceCall->Close();
}
