// Driving the control with key, character and mouse messages: the modifier and button state
// goes into the thread's keyboard state (what GetKeyState reads), the real pointer stays put.
#pragma once

#include "SyntaxEditCtrlTestSupport.h"

#include <initializer_list>
#include <vector>

// Holds keys (VK_CONTROL, VK_LBUTTON...) down in the thread's keyboard state.
class ScopedKeys {
public:
    explicit ScopedKeys(const std::vector<int>& keys) {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        std::copy(std::begin(m_saved), std::end(m_saved), std::begin(state));
        for (int vk : keys) state[vk] = 0x80;
        ::SetKeyboardState(state);
    }
    ~ScopedKeys() { ::SetKeyboardState(m_saved); }
    ScopedKeys(const ScopedKeys&) = delete;
    ScopedKeys& operator=(const ScopedKeys&) = delete;

private:
    BYTE m_saved[256];
};

struct Input {
    UINT nMessage;
    UINT nCode;
    std::vector<int> mods;
};

inline Input KeyIn(UINT nKey, std::vector<int> mods = {}) {
    return {WM_KEYDOWN, nKey, std::move(mods)};
}
inline Input CharIn(UINT nChar, std::vector<int> mods = {}) {
    return {WM_CHAR, nChar, std::move(mods)};
}

class InputTest : public EditCtrlTest {
protected:
    void Send(const Input& input) {
        ScopedKeys keys({});
        BYTE state[256];
        ::GetKeyboardState(state);
        for (int vk : input.mods) state[vk] = 0x80;
        ::SetKeyboardState(state);
        m_ctrl.SendMessage(input.nMessage, input.nCode, 1);
    }
    void Mouse(UINT nMessage, int x, int y) { m_ctrl.SendMessage(nMessage, 0, MAKELPARAM(x, y)); }
    CString LastStepName() {
        CKLVSyntaxEditCommand* pCommand = m_ctrl.GetBuffer()->GetUndoManager()->GetLastCommand();
        return pCommand ? pCommand->GetCommandText() : CString("<none>");
    }
    ListedFoldSchema m_schema;
};
