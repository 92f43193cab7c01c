#include "toolkit/tabs/TabPainterObserver.h"

#include <algorithm>

void CKLVTabPainterObserverArray::Remove(CKLVTabPainterObserver* pObserver) {
    m_arrObservers.erase(std::remove(m_arrObservers.begin(), m_arrObservers.end(), pObserver), m_arrObservers.end());
}
