// Colours written as the system writes them, 0x00BBGGRR, and the fills it draws with them.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

#include <cstdint>
#include <initializer_list>

constexpr QRgb FromColorRef(uint32_t bgr) {
    return qRgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

// Vertical gradient through the colours: (colours - 1) equal bands of whole rows, each running
// from one colour at its top row to the next at its bottom row; one colour is a solid fill.
void FillVerticalGradient(QPainter& painter, const QRect& rect, std::initializer_list<uint32_t> colours);

// A 1-pixel frame just inside rect.
void FrameRect(QPainter& painter, const QRect& rect, QRgb colour);
