#include "SyntaxEditMdiHost.h"

IMPLEMENT_DYNCREATE(CRecordingSyntaxView, CKLVSyntaxEditView)
IMPLEMENT_DYNCREATE(CSyntaxChild, CMDIChildWnd)
IMPLEMENT_DYNCREATE(CSyntaxSplitChild, CMDIChildWnd)
