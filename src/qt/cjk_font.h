#pragma once
#include <QFont>
#include <QString>

namespace platform_qt {

// The font a family name asks for, or the nearest installed CJK font when the
// family is missing: the window's texts are Chinese and must never come out
// as boxes. SimSun ("宋体") is a Song face, so a Song (serif) CJK face comes
// before a sans one.
QString ResolveCjkFamily(const QString& wanted);
QFont CjkFont(const QString& wanted, int pointSize, int weight = 400);

// The family and size labels, lists and menus of the window are drawn in.
inline constexpr const char* kUiFamily = "宋体";
inline constexpr int kUiPointSize = 9;
QFont UiFont();

}  // namespace platform_qt
