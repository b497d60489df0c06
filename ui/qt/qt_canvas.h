#pragma once
// The table painter's canvas (canvas.h) on a Qt painter: the primitives drawn in the
// target's device pixels at a given density, the pictures made once per density from
// the program's artwork (the double-density drawing above 96 dots per inch, resized
// by area to the size its twips give) and drawn 1:1, so that a picture's pixels are
// the same as on Windows.
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPixmap>

#include "canvas.h"

class QPainter;

namespace karvelo {

class QtCanvas final : public Canvas {
public:
    QtCanvas();

    // Draws with `painter`, whose coordinates are device pixels of a surface of `dpi`
    // dots per inch, until the next call.
    void Begin(QPainter& painter, int dpi);

    int Dpi() const override { return dpi_; }
    void ClipTo(const PixelBox& pixels) override;
    void Fill(const TwipRect& rect, int32_t colour) override;
    void Frame(const TwipRect& rect, float thickness, int32_t colour) override;
    void SunkenFrame(const TwipRect& rect, const SunkenEdge& edge) override;
    bool Picture(int number, const TwipRect& rect) override;
    void Text(const TwipRect& box, const std::string& text, LabelFont font, int32_t colour) override;
    void Shadow(const TwipRect& caster, float offset, float radius, int alpha) override;

    // The two label fonts at their design size in points.
    const QFont& LetterFont() const { return letterFont_; }
    const QFont& SuitFont() const { return suitFont_; }

    // Picture `number` as drawn at this density, null when there is none.
    const QPixmap& PictureAt(int number);

private:
    void UseDpi(int dpi);

    QPainter* painter_ = nullptr;
    int dpi_ = 96;
    QFont letterFont_;
    QFont suitFont_;
    QHash<int, QPixmap> pictures_;
    QImage shadow_;
    float shadowRadius_ = 0;
    int shadowAlpha_ = 0;
};

// Colour value (red in the low byte) as a Qt colour.
QColor QColorOfValue(int32_t value);

}  // namespace karvelo
