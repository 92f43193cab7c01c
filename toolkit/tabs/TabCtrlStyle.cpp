#include "toolkit/tabs/TabCtrlStyle.h"

IMPLEMENT_DYNCREATE(CKLTabCtrlSystemStyleFactory, CKLThemeManagerStyleFactory)
