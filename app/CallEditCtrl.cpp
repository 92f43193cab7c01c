#include "app/CallEditCtrl.h"

BEGIN_MESSAGE_MAP(CCallEditCtrl, CKLVSyntaxEditCtrl)
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()
