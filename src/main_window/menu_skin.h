#pragma once
// The colours and font the window's popup menus are drawn in.
#include "platform/bitmap.h"

namespace main_window {

struct MenuSkin {
    platform::Argb selectedMenuBack = platform::MakeArgb(255, 251, 198);
    platform::Argb selectedMenuBorder = platform::MakeArgb(0, 0, 255);
    platform::Argb topMenuBack = platform::MakeArgb(165, 195, 255);
    platform::Argb topMenuSelected = platform::MakeArgb(198, 227, 255);
    platform::Argb topMenuHot = platform::MakeArgb(255, 128, 0);
    platform::Argb topMenuHotBorder = platform::MakeArgb(0, 0, 255);
    platform::Argb menuBorder = platform::MakeArgb(0, 0, 128);
    platform::Argb checkBack = platform::MakeArgb(239, 186, 123);
    platform::Argb checkBorder = platform::MakeArgb(0, 0, 255);
    platform::Argb gradientOne = platform::MakeArgb(255, 255, 255);
    platform::Argb gradientTwo = platform::MakeArgb(165, 195, 255);
    bool useGradient = true;
    platform::Argb selectedItemFore = platform::MakeArgb(0, 64, 0);
    platform::Argb sidebar = platform::MakeArgb(0, 0, 255);
    const char* fontFamily = "宋体";
    int fontPointSize = 9;
    int fontWeight = 400;
    int fontCharset = 134;  // GB2312
    int bitmapCount = 0;
};

}  // namespace main_window
