#pragma once
// The view of the table: draws the scene in Qt's logical pixels, 96 to the logical
// inch (Qt scales them to the screen's density and the pictures come in the matching
// drawing), repaints only what changed, draws the picture of a dragged card, and hands
// pointer input to the main window in twips.
#include <QColor>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

#include "scene.h"

namespace karvelo {

class Karvelo;

class TableView : public QWidget {
public:
    TableView(Karvelo& form, QWidget* parent = nullptr);

    void SetBackground(const QColor& colour);
    QColor Background() const { return background_; }

    // Whether something changed since it was last painted, and painting it now.
    bool HasUnshownChanges() const { return !unshown_.isEmpty(); }
    const QRegion& UnshownRegion() const { return unshown_; }
    void ShowChangesNow();

    // The logical pixel rectangle that a twip rectangle covers on screen.
    static QRect PixelBounds(const TwipRect& rect);
    static QPointF ToTwips(const QPointF& pixel);
    static QPointF ToPixels(float left, float top);

    long long PaintCount() const { return paints_; }

    QFont LetterFont() const { return letterFont_; }
    QFont SuitFont() const { return suitFont_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Damage(const TwipRect& rect);
    void DrawElement(QPainter& p, const SceneElement& e, qreal dpr);
    void DrawSunkenFrame(QPainter& p, const QRectF& r) const;
    void UseDensity(qreal dpr);  // drops the cached pictures when the density changes
    const QPixmap& Picture(int number, qreal dpr);
    QPointF Snap(float left, float top, qreal dpr) const;

    Karvelo& form_;
    const Scene& scene_;
    QColor background_{0, 128, 0};
    QRegion unshown_;
    QFont letterFont_;
    QFont suitFont_;
    QHash<int, QPixmap> pictures_;
    qreal picturesDpr_ = 0;
    QPixmap arrows_[3];
    QPixmap splash_;
    long long paints_ = 0;
};

}  // namespace karvelo
