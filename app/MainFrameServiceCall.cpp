// The "Call the Service" command: the window for the open project, made on first use, and the
// project's service as the window reads it, kept with the project.
#include "app/MainFrame.h"

#include "app/ServiceCallText.h"
#include "app/ServiceCallWindow.h"
#include "project/call/CallService.h"

#include <sstream>

void CMainFrame::OnCallService() {
    if (!GetProject()) return;
    // A window closed before is made afresh, with its editors and the project's state.
    if (!m_pServiceCall || !m_pServiceCall->GetSafeHwnd()) m_pServiceCall = std::make_unique<CServiceCallWindow>();
    m_pServiceCall->Open(*this);
}

void CMainFrame::CloseServiceCall() {
    if (m_pServiceCall) m_pServiceCall->Close();
    m_pCallService.reset();
}

CallService* CMainFrame::ReadCallService() {
    const CProjectRecord* pProject = GetProject();
    if (!pProject) return nullptr;
    const std::string strSchemas = m_commands.schemaFolder();
    if (!m_pCallService || m_pCallService->wsdlPath() != pProject->wsdlPath || m_pCallService->schemaFolder() != strSchemas)
        m_pCallService = std::make_unique<CallService>(pProject->wsdlPath, strSchemas);
    if (m_pCallService->current()) return m_pCallService.get();
    // What the Output pane held stays: the reading's lines come after it, under their heading.
    std::ostringstream messages;
    const bool bRead = m_pCallService->read(messages);
    appendOutput("Call the Service reads " + pProject->wsdlPath + "\r\n" + WindowsLines(messages.str()) +
                 (bRead ? "" : "The service cannot be called: the document was rejected.\r\n"));
    return bRead ? m_pCallService.get() : nullptr;
}
