// A picture of the user guide (a PNG file) as the rich-edit view takes it: a device-independent
// bitmap in RTF, scaled down to a width when it is wider.
#pragma once

#include <string>

// The RTF group "{\pict\dibitmap0 ...}" of the file's picture, at most nMaxWidth pixels wide; empty
// with the cause (naming the file) in strFailure when it cannot be read.
std::string HelpPictureRtf(const std::string& strPath, int nMaxWidth, std::string& strFailure);
