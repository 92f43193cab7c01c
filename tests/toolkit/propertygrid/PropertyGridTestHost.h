// A hidden parent window that records the grid's notifications, with a grid in it.
#pragma once

#include "classlib/ClassLib.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace propertygrid_test {

class CNotifyParent : public CWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> m_arrNotes;
    // Answers a notification (the edit record for 11 to 13); 0 when unset.
    std::function<LRESULT(WPARAM, LPARAM)> m_fnAnswer;

    int Count(WPARAM nCode) const {
        int n = 0;
        for (const auto& note : m_arrNotes) n += note.first == nCode;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == KLVWM_PROPERTYGRID_NOTIFY) {
            m_arrNotes.emplace_back(wParam, lParam);
            return m_fnAnswer ? m_fnAnswer(wParam, lParam) : 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class GridFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(WS_EX_CONTROLPARENT, AfxRegisterWndClass(0), "parent", WS_POPUP,
                                      CRect(0, 0, 400, 320), nullptr, 0));
        ASSERT_TRUE(m_grid.Create(CRect(0, 0, 300, 260), &m_parent, 77));
    }
    void TearDown() override {
        m_grid.DestroyWindow();
        m_parent.DestroyWindow();
        classlib_test::PumpPending();
    }
    CKLVPropertyGridView& View() { return m_grid.GetGridView(); }
    // A category "Cat" with the given properties, expanded.
    CKLVPropertyGridItem* AddCategoryWith(LPCTSTR lpszCaption, std::initializer_list<LPCTSTR> properties) {
        CKLVPropertyGridItem* pCategory = m_grid.AddCategory(lpszCaption);
        for (LPCTSTR lpszProperty : properties) pCategory->AddChildItem(new CKLVPropertyGridItem(lpszProperty, "value"));
        pCategory->Expand();
        return pCategory;
    }

    CNotifyParent m_parent;
    CKLVPropertyGrid m_grid;
};

}  // namespace propertygrid_test
