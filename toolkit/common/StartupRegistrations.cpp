#include "toolkit/common/StartupRegistrations.h"

const UINT KLV_WM_NOTIFICATIONSINKMT_ONEVENT = ::RegisterWindowMessageA("KLVNotificationSinkMTOnEvent");
const UINT KLV_CF_ALPHABITMAPIMAGE = ::RegisterClipboardFormatA("Alpha Bitmap Image");
const UINT KLV_CF_TOOLBARIMAGE = ::RegisterClipboardFormatA("Kelvane Toolbar Image");
