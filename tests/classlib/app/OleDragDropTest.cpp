// OLE drag and drop between two windows, driven by real mouse input from another thread: the
// system's drag loop finds the view under the mouse through its registered drop target, and
// the files and text dropped on it arrive intact.
#include "classlib/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::vector<std::wstring> kFiles = {L"C:\\Temp\\a b.txt", L"C:\\Temp\\\u00fcber.zbq"};
const char kText[] = "dragged text";

HGLOBAL GlobalCopy(const void* pData, size_t nBytes) {
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, nBytes);
    std::memcpy(::GlobalLock(hGlobal), pData, nBytes);
    ::GlobalUnlock(hGlobal);
    return hGlobal;
}

// A DROPFILES record with wide names, each ended by a zero, the list by another.
HGLOBAL DropFiles(const std::vector<std::wstring>& files) {
    std::vector<BYTE> bytes(sizeof(DROPFILES));
    auto* pHeader = reinterpret_cast<DROPFILES*>(bytes.data());
    pHeader->pFiles = sizeof(DROPFILES);
    pHeader->fWide = TRUE;
    for (const std::wstring& file : files) {
        const auto* p = reinterpret_cast<const BYTE*>(file.c_str());
        bytes.insert(bytes.end(), p, p + (file.size() + 1) * sizeof(wchar_t));
    }
    bytes.insert(bytes.end(), sizeof(wchar_t), 0);
    return GlobalCopy(bytes.data(), bytes.size());
}

std::atomic<bool> g_bDragging{false};

// Starts a drag of files and text when a mouse button goes down on it.
class CSourceWnd : public CWnd {
public:
    DWORD m_dwAllowed = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    DROPEFFECT m_result = 0xFF;

protected:
    void Drag() {
        COleDataSource source;
        source.CacheGlobalData(CF_HDROP, DropFiles(kFiles));
        source.CacheGlobalData(CF_TEXT, GlobalCopy(kText, sizeof kText));
        g_bDragging = true;
        m_result = source.DoDragDrop(m_dwAllowed);
        g_bDragging = false;
    }
    afx_msg void OnLButtonDown(UINT, CPoint) { Drag(); }
    afx_msg void OnRButtonDown(UINT, CPoint) { Drag(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSourceWnd, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

}  // namespace

// Takes files and text, moving them unless the source allows only a copy.
class CDropView : public CView {
public:
    COleDropTarget m_dropTarget;
    std::atomic<int> m_nOvers{0};
    int m_nEnters = 0;
    int m_nLeaves = 0;
    BOOL m_bOfferedFiles = FALSE;
    std::vector<std::wstring> m_files;
    std::string m_text;

    void OnDraw(CDC*) override {}
    DROPEFFECT OnDragEnter(COleDataObject* pData, DWORD dwKeyState, CPoint point) override {
        ++m_nEnters;
        m_bOfferedFiles = pData->IsDataAvailable(CF_HDROP);
        return OnDragOver(pData, dwKeyState, point);
    }
    DROPEFFECT OnDragOver(COleDataObject*, DWORD, CPoint) override {
        ++m_nOvers;
        return DROPEFFECT_MOVE;
    }
    void OnDragLeave() override { ++m_nLeaves; }
    BOOL OnDrop(COleDataObject* pData, DROPEFFECT, CPoint) override {
        if (auto hDrop = static_cast<HDROP>(pData->GetGlobalData(CF_HDROP))) {
            const UINT nFiles = ::DragQueryFileW(hDrop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < nFiles; ++i) {
                wchar_t path[MAX_PATH] = {};
                ::DragQueryFileW(hDrop, i, path, MAX_PATH);
                m_files.push_back(path);
            }
            ::GlobalFree(hDrop);
        }
        if (HGLOBAL hText = pData->GetGlobalData(CF_TEXT)) {
            m_text = static_cast<const char*>(::GlobalLock(hText));
            ::GlobalUnlock(hText);
            ::GlobalFree(hText);
        }
        return TRUE;
    }
};

namespace {

bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 500 && !done(); ++i) ::Sleep(10);
    return done();
}

POINT CenterOf(CWnd& wnd) {
    CRect rect;
    wnd.GetWindowRect(&rect);
    return rect.CenterPoint();
}

TEST(OleDragDrop, FilesAndTextDraggedToAnotherWindowArriveIntact) {
    CWinApp app("DragApp");
    ASSERT_TRUE(AfxOleInit());
    // Two windows side by side, out of the way of other programs' windows, above them all.
    CWnd* pStage = classlib_test::VisibleStage();
    pStage->SetWindowPos(&CWnd::wndTopMost, 640, 480, 400, 300, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    CSourceWnd source;
    ASSERT_TRUE(source.Create(AfxRegisterWndClass(0), "source", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 300), pStage, 1));
    auto* pView = new CDropView;
    ASSERT_TRUE(pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(200, 0, 400, 300), pStage, 2));
    ASSERT_TRUE(pView->m_dropTarget.Register(pView));
    EXPECT_FALSE(pView->m_dropTarget.Register(pView)) << "a window is registered once";

    struct Row {
        const char* name;
        DWORD dwButtonDown, dwButtonUp;   // the button that drags
        DWORD dwAllowed;
        bool bCancel;                     // the other button goes down over the target
        DROPEFFECT expected;
    };
    const Row rows[] = {
        {"left, move", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, DROPEFFECT_COPY | DROPEFFECT_MOVE, false, DROPEFFECT_MOVE},
        {"copy only", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, DROPEFFECT_COPY, false, DROPEFFECT_COPY},
        {"right button", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, DROPEFFECT_COPY | DROPEFFECT_MOVE, false, DROPEFFECT_MOVE},
        {"cancelled", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, DROPEFFECT_COPY | DROPEFFECT_MOVE, true, DROPEFFECT_NONE},
    };
    // Every kind of drag runs twice: the system makes some objects (its drag cursors) on first
    // use, and the second round must leave nothing behind.
    classlib_test::HandleCounts afterFirstRound;
    for (int nRound = 0; nRound < 2; ++nRound) {
        if (nRound == 1) afterFirstRound = classlib_test::CountHandles();
        for (const Row& row : rows) {
            source.m_dwAllowed = row.dwAllowed;
            source.m_result = 0xFF;
            pView->m_nOvers = 0;
            pView->m_nEnters = 0;
            pView->m_nLeaves = 0;
            pView->m_files.clear();
            pView->m_text.clear();
            const POINT ptFrom = CenterOf(source), ptTo = CenterOf(*pView);
            std::thread hand([&] {
                classlib_test::MouseInput(ptFrom);
                classlib_test::MouseInput(ptFrom, row.dwButtonDown);
                WaitFor([] { return g_bDragging.load(); });
                for (int step = 1; step <= 4; ++step)
                    classlib_test::MouseInput(CPoint(ptFrom.x + (ptTo.x - ptFrom.x) * step / 4, ptTo.y));
                WaitFor([&] { return pView->m_nOvers > 1; });
                if (row.bCancel) {
                    // The drag loop reads the buttons' state only now and then: the other
                    // button stays down until the loop has seen it and ended the drag.
                    const bool bLeft = row.dwButtonDown == MOUSEEVENTF_LEFTDOWN;
                    classlib_test::MouseInput(ptTo, bLeft ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
                    WaitFor([] { return !g_bDragging.load(); });
                    classlib_test::MouseInput(ptTo, bLeft ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
                }
                classlib_test::MouseInput(ptTo, row.dwButtonUp);
            });
            classlib_test::PumpUntil([&] { return source.m_result != 0xFF; });
            hand.join();
            classlib_test::PumpPending();   // the button-up that may follow a cancelled drag

            EXPECT_EQ(source.m_result, row.expected) << row.name;
            EXPECT_TRUE(pView->m_bOfferedFiles) << row.name;
            EXPECT_GT(pView->m_nOvers.load(), 1) << row.name;
            // The system may see the pointer leave and come back on its way; every entry is
            // matched by a leave, except the one a drop ends.
            EXPECT_GE(pView->m_nEnters, 1) << row.name;
            if (row.expected == DROPEFFECT_NONE) {
                EXPECT_EQ(pView->m_nLeaves, pView->m_nEnters) << row.name;
                EXPECT_TRUE(pView->m_files.empty()) << row.name;
            } else {
                EXPECT_EQ(pView->m_nLeaves, pView->m_nEnters - 1) << row.name;
                EXPECT_EQ(pView->m_files, kFiles) << row.name;
                EXPECT_EQ(pView->m_text, kText) << row.name;
            }
        }
    }
    EXPECT_EQ(classlib_test::CountHandles(), afterFirstRound) << "dragging leaves no handles";
    pView->DestroyWindow();   // revokes the target
    source.DestroyWindow();
    pStage->SetWindowPos(&CWnd::wndNoTopMost, 0, 0, 400, 300, SWP_NOACTIVATE);
}

}  // namespace
