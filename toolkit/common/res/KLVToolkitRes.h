// Resource ids of the toolkit's own resources (KLVToolkit.rc).
#pragma once

#define KLV_IDC_DRAGMOVE 9308
#define KLV_IDC_DRAGCOPY 9309
#define KLV_IDC_DRAGNONE 9311
#define KLV_IDC_HSPLITBAR 9970
#define KLV_IDC_VSPLITBAR 9971
#define KLV_IDC_HAND 9973
