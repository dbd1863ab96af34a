#include "cjk_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace platform_qt {

QString ResolveCjkFamily(const QString& wanted) {
    const QStringList installed = QFontDatabase::families();
    const QStringList candidates{wanted, "SimSun", "NSimSun", "Noto Serif CJK SC", "Noto Sans CJK SC",
                                 "WenQuanYi Zen Hei", "AR PL UMing CN"};
    for (const QString& family : candidates)
        if (installed.contains(family, Qt::CaseInsensitive)) return family;
    // Anything that writes Simplified Chinese beats a face that draws boxes.
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    return chinese.isEmpty() ? wanted : chinese.front();
}

QFont CjkFont(const QString& wanted, int pointSize, int weight) {
    QFont f(ResolveCjkFamily(wanted), pointSize);
    // Windows weights (400 normal, 700 bold) map onto Qt's scale of the same numbers.
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

QFont UiFont() { return CjkFont(QString::fromUtf8(kUiFamily), kUiPointSize); }

}  // namespace platform_qt
