#include "toolkit/commandbars/manager/KeyboardTipCaptions.h"

#include "toolkit/commandbars/barbase/CommandBar.h"

namespace {

char UpperOf(char ch) {
    CString str(ch);
    return str.MakeUpper()[0];
}

}  // namespace

void CKLVKeyboardTipCaptions::Assign(std::vector<Entry>& entries) {
    FillFromLabels(entries);
    for (size_t i = 0; i < entries.size(); ++i) MakeDistinct(entries, i);
}

void CKLVKeyboardTipCaptions::FillFromLabels(std::vector<Entry>& entries) {
    for (size_t i = entries.size(); i-- > 0;) {
        Entry& entry = entries[i];
        if (!entry.strCaption.IsEmpty()) continue;
        if (entry.strLabel.IsEmpty()) {
            entry.bRemoved = TRUE;
            continue;
        }
        BOOL bAmpersand = FALSE;
        entry.strCaption = CString(UpperOf(CKLVCommandBar::MnemonicOf(entry.strLabel, bAmpersand)));
    }
}

int CKLVKeyboardTipCaptions::RestOfLabel(const CString& strLabel) {
    BOOL bAmpersand = FALSE;
    CKLVCommandBar::MnemonicOf(strLabel, bAmpersand);
    return bAmpersand ? strLabel.Find('&') + 2 : 1;
}

void CKLVKeyboardTipCaptions::MakeDistinct(std::vector<Entry>& entries, size_t nFirst) {
    if (entries[nFirst].bRemoved) return;
    const CString strShared = entries[nFirst].strCaption;
    std::vector<Entry*> group;
    for (size_t i = nFirst; i < entries.size(); ++i)
        if (!entries[i].bRemoved && entries[i].strCaption.CompareNoCase(strShared) == 0) group.push_back(&entries[i]);
    if (group.size() < 2) return;
    CString strUsed = strShared;
    strUsed.MakeUpper();
    int nPosition = 0;
    for (Entry* pEntry : group) {
        ++nPosition;
        const CString& strLabel = pEntry->strLabel;
        char chOwn = 0;
        for (int i = RestOfLabel(strLabel); i < strLabel.GetLength() && !chOwn; ++i) {
            const char ch = UpperOf(strLabel[i]);
            if (ch != '&' && ch != ' ' && strUsed.Find(ch) < 0) chOwn = ch;
        }
        CString strOwn;
        if (chOwn) {
            strUsed += chOwn;
            strOwn = CString(chOwn);
        } else {
            strOwn.Format("%i", nPosition);
        }
        pEntry->strCaption = strShared + strOwn;
    }
}
