#pragma once
// The colours and font the window's popup menus are drawn in.
#include "pixels/bitmap.h"

namespace main_window {

struct MenuSkin {
    pixels::Argb selectedMenuBack = pixels::MakeArgb(255, 251, 198);
    pixels::Argb selectedMenuBorder = pixels::MakeArgb(0, 0, 255);
    pixels::Argb topMenuBack = pixels::MakeArgb(165, 195, 255);
    pixels::Argb topMenuSelected = pixels::MakeArgb(198, 227, 255);
    pixels::Argb topMenuHot = pixels::MakeArgb(255, 128, 0);
    pixels::Argb topMenuHotBorder = pixels::MakeArgb(0, 0, 255);
    pixels::Argb menuBorder = pixels::MakeArgb(0, 0, 128);
    pixels::Argb checkBack = pixels::MakeArgb(239, 186, 123);
    pixels::Argb checkBorder = pixels::MakeArgb(0, 0, 255);
    pixels::Argb gradientOne = pixels::MakeArgb(255, 255, 255);
    pixels::Argb gradientTwo = pixels::MakeArgb(165, 195, 255);
    bool useGradient = true;
    pixels::Argb selectedItemFore = pixels::MakeArgb(0, 64, 0);
    pixels::Argb sidebar = pixels::MakeArgb(0, 0, 255);
    const char* fontFamily = "宋体";
    int fontPointSize = 9;
    int fontWeight = 400;
    int fontCharset = 134;  // GB2312
    int bitmapCount = 0;
};

}  // namespace main_window
