// Sends one request at a time off the window's thread: the send blocks a worker thread, and the
// window learns that it ended by a message it is posted, after which it takes the result.
#pragma once

#include "net/SoapCall.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <thread>

class CServiceCallSender {
public:
    CServiceCallSender() = default;
    // A send under way is cancelled and waited for: its worker uses this object.
    ~CServiceCallSender();
    CServiceCallSender(const CServiceCallSender&) = delete;
    CServiceCallSender& operator=(const CServiceCallSender&) = delete;

    // Starts the send; when it ends, message is posted to hWnd. FALSE while one is under way.
    BOOL Start(const SoapCallRequest& request, HWND hWnd, UINT message);
    // From the window's thread: the send under way returns Cancelled.
    void Cancel();
    BOOL IsSending() const { return m_worker.joinable(); }
    // After the message: the send's result; the sender is free for the next.
    SoapCallResult Finish();

private:
    // A fresh call for each send: a cancel never reaches past the send it was meant for.
    std::unique_ptr<SoapCall> m_pCall;
    std::thread m_worker;
    std::mutex m_mutex;
    SoapCallResult m_result;
};
