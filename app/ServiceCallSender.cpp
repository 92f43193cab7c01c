#include "app/ServiceCallSender.h"

CServiceCallSender::~CServiceCallSender() {
    Cancel();
    if (m_worker.joinable()) m_worker.join();
}

BOOL CServiceCallSender::Start(const SoapCallRequest& request, HWND hWnd, UINT message) {
    if (m_worker.joinable()) return FALSE;
    m_pCall = std::make_unique<SoapCall>();
    SoapCall* pCall = m_pCall.get();
    m_worker = std::thread([this, pCall, request, hWnd, message] {
        SoapCallResult result = pCall->send(request);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_result = std::move(result);
        }
        ::PostMessageA(hWnd, message, 0, 0);
    });
    return TRUE;
}

void CServiceCallSender::Cancel() {
    if (m_worker.joinable() && m_pCall) m_pCall->cancel();
}

SoapCallResult CServiceCallSender::Finish() {
    if (m_worker.joinable()) m_worker.join();
    m_pCall.reset();
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::move(m_result);
}
