#include "toolkit/common/StartupRegistrations.h"

const UINT KLV_WM_NOTIFICATIONSINKMT_ONEVENT = ::RegisterWindowMessageA("KLVNotificationSinkMTOnEvent");
const UINT KLV_CF_ALPHABITMAPIMAGE = ::RegisterClipboardFormatA("Alpha Bitmap Image");
const UINT KLV_CF_TOOLBARIMAGE = ::RegisterClipboardFormatA("Kelvane Toolbar Image");

const KLVDockingGuidePart KLVDockingGuideClassicParts[11] = {
    {25, 0, {0, 0, 43, 30}},     {0, 25, {30, 33, 60, 76}},   {25, 63, {43, 0, 86, 30}},
    {63, 25, {0, 33, 30, 76}},   {25, 0, {0, 76, 43, 106}},   {0, 25, {90, 33, 120, 76}},
    {25, 63, {43, 76, 86, 106}}, {63, 25, {60, 33, 90, 76}},  {30, 30, {86, 0, 119, 33}},
    {30, 30, {86, 76, 119, 109}}, {25, 25, {0, 0, 43, 43}},
};

const KLVDockingGuidePart KLVDockingGuideCrossParts[19] = {
    {30, 0, {61, 29, 90, 59}},   {0, 30, {90, 30, 120, 59}},   {30, 59, {91, 0, 120, 30}},
    {60, 30, {62, 0, 92, 29}},   {30, 0, {61, 90, 90, 120}},   {0, 30, {90, 91, 120, 120}},
    {30, 59, {91, 61, 120, 91}}, {60, 30, {62, 61, 92, 90}},   {30, 30, {120, 82, 148, 111}},
    {24, 24, {120, 41, 161, 82}}, {24, 24, {120, 0, 161, 41}}, {0, 0, {0, 29, 29, 61}},
    {0, 0, {29, 32, 61, 61}},    {0, 0, {32, 0, 61, 32}},      {0, 0, {0, 0, 32, 29}},
    {0, 0, {0, 90, 29, 122}},    {0, 0, {29, 93, 61, 122}},    {0, 0, {32, 61, 61, 93}},
    {0, 0, {0, 61, 32, 90}},
};
