// An edit control in a shown window over a ".c" file its background lexer colours, the way a
// tab of the program holds one: the buffer reads the program's lexer configuration, and the
// parser's block posts (code 2) and pass ends (code 3) are counted as the window thread gets them.
#pragma once

#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexParser.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexerFactory.h"
#include "toolkit/syntaxedit/text/SyntaxEditNotificationSinkMT.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

class CLexedEditHost {
public:
    // Writes the text into a ".c" file of the temporary folder.
    explicit CLexedEditHost(const std::string& text, int cx = 800, int cy = 600) {
        char szTemp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, szTemp);
        static int s_nHosts = 0;
        m_strPath = std::string(szTemp) + "kelvane_bench_" + std::to_string(::GetCurrentProcessId()) + "_" +
                    std::to_string(++s_nHosts) + ".c";
        if (FILE* pFile = std::fopen(m_strPath.c_str(), "wb")) {
            std::fwrite(text.data(), 1, text.size(), pFile);
            std::fclose(pFile);
        }
        KLVRegisterSyntaxEditLexer();
        m_pBuffer = new CKLVSyntaxEditBufferManager;
        std::string strConfig = KELVANE_SOURCE_DIR "/runtime/config/SyntaxEdit.ini";
        std::replace(strConfig.begin(), strConfig.end(), '/', '\\');
        m_pBuffer->SetConfigFile(strConfig.c_str());
        m_pParser = dynamic_cast<CKLVSyntaxEditLexParser*>(m_pBuffer->GetLexParser());
        if (m_pParser) {
            m_sink.Advise(m_pParser->GetConnection(), klvLexParseStarted, &CLexedEditHost::OnStart);
            m_sink.Advise(m_pParser->GetConnection(), klvLexBlockStored, &CLexedEditHost::OnBlock);
            m_sink.Advise(m_pParser->GetConnection(), klvLexParseEnded, &CLexedEditHost::OnEnd);
        }
        m_parent.Attach(::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr,
                                          nullptr, nullptr));
        m_ctrl.Create(&m_parent, TRUE, TRUE, m_pBuffer);
        m_ctrl.MoveWindow(0, 0, cx, cy);
        m_ctrl.ShowWindow(SW_SHOW);
    }
    ~CLexedEditHost() {
        m_sink.UnadviseAll();
        m_ctrl.DestroyWindow();
        ::DestroyWindow(m_parent.Detach());
        m_pBuffer->InternalRelease();
        ::DeleteFileA(m_strPath.c_str());
    }
    bool IsValid() const { return m_pParser != nullptr && m_ctrl.GetSafeHwnd() != nullptr; }

    // (Re)loads the file into the buffer, which starts the first colouring, and lays out the control.
    bool Load() {
        const BOOL bLoaded = m_pBuffer->LoadFile(m_strPath.c_str());
        m_ctrl.RecalcLayout();
        return bLoaded != FALSE;
    }

    // Handles window messages one at a time until done() holds or the limit passes; false at
    // the limit. The parser's task queue is sampled after each.
    template <class Done>
    bool PumpUntil(Done done, double dLimitSeconds = 180) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(dLimitSeconds);
        while (!done()) {
            const auto now = std::chrono::steady_clock::now();
            if (now > deadline) return false;
            MSG msg;
            if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            } else {
                const auto nLeftMs = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<long long>(nLeftMs, 10)),
                                            QS_ALLINPUT);
            }
            SampleQueue();
        }
        return true;
    }
    // Handles window messages for the time given.
    void PumpFor(double dSeconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(dSeconds);
        PumpUntil([&] { return std::chrono::steady_clock::now() >= end; }, dSeconds + 1);
    }
    // A pass end counted since nEndsBefore, no pass running and nothing left for the parser to do.
    bool ParseEndedSince(int nEndsBefore) {
        return m_nEnds > nEndsBefore && m_nEnds >= m_nStarts && m_pParser->IsIdle();
    }
    void SampleQueue() { m_nPeakTasks = std::max(m_nPeakTasks, static_cast<int>(m_pParser->GetTasks().size())); }
    void ResetCounts() {
        m_nBlockPosts = 0;
        m_nPeakTasks = 0;
    }

    CKLVSyntaxEditCtrl& Ctrl() { return m_ctrl; }
    CKLVSyntaxEditBufferManager& Buffer() { return *m_pBuffer; }
    int m_nBlockPosts = 0;
    int m_nStarts = 0;
    int m_nEnds = 0;
    int m_nPeakTasks = 0;

private:
    void OnStart(KLV_NOTIFYCODE, WPARAM, LPARAM) { ++m_nStarts; }
    void OnBlock(KLV_NOTIFYCODE, WPARAM, LPARAM) { ++m_nBlockPosts; }
    void OnEnd(KLV_NOTIFYCODE, WPARAM, LPARAM) { ++m_nEnds; }

    std::string m_strPath;
    CKLVSyntaxEditBufferManager* m_pBuffer = nullptr;
    CKLVSyntaxEditLexParser* m_pParser = nullptr;
    CKLVNotificationSinkMT<CLexedEditHost> m_sink{this};
    CWnd m_parent;
    CKLVSyntaxEditCtrl m_ctrl;
};
