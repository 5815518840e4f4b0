// Fonts of the Korean user interface on Linux.
#pragma once

#include <QFont>
#include <QString>

namespace ui {

// Once per program, after the QApplication exists: "돋움체" resolves to NanumGothicCoding,
// "돋움" (and the misspelt "돋음", "Dotum", "굴림") to NanumGothic, Arial to Liberation Sans.
void SetUpFonts();

// A font whose line (ascent + descent) is `cellHeight` pixels, as a Windows font created with
// that positive height: "돋움 16 pixels high" is CellHeightFont("돋움", 16, ...).
QFont CellHeightFont(const QString& family, int cellHeight, int weight = QFont::Normal);

} // namespace ui
