// Family substitutions and Windows-style font heights.
#include "ui/Fonts.h"

#include <QFontMetricsF>
#include <QStringList>

#include <cmath>

namespace ui {

void SetUpFonts() {
    const QString gothic = QStringLiteral("NanumGothic");
    const QString coding = QStringLiteral("NanumGothicCoding");
    for (const char* name : {"돋움체", "DotumChe", "굴림체", "GulimChe"})
        QFont::insertSubstitutions(QString::fromUtf8(name), QStringList{coding, gothic});
    for (const char* name : {"돋움", "돋음", "Dotum", "굴림", "Gulim", "MS Shell Dlg", "MS Shell Dlg 2"})
        QFont::insertSubstitutions(QString::fromUtf8(name), QStringList{gothic});
    // Hangul in an Arial text falls through to NanumGothic rather than any font with the glyphs.
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               QStringList{QStringLiteral("Liberation Sans"), gothic});
}

QFont CellHeightFont(const QString& family, int cellHeight, int weight) {
    QFont font(family);
    font.setWeight(QFont::Weight(weight));
    font.setPixelSize(cellHeight);
    const QFontMetricsF metrics(font);
    const double cell = metrics.ascent() + metrics.descent();
    if (cell > 0)
        font.setPixelSize(std::max(1, int(std::lround(cellHeight * cellHeight / cell))));
    return font;
}

} // namespace ui
