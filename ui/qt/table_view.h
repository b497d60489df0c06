#pragma once
// The view of the table: has the table painter (painter.h) paint the scene on a Qt
// canvas in the screen's device pixels, repaints only what changed, and hands pointer
// input to the main window in twips. Qt's logical pixels are 96 to the logical inch.
#include <QColor>
#include <QFont>
#include <QRegion>
#include <QWidget>

#include "qt_canvas.h"
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

    QFont LetterFont() const { return canvas_.LetterFont(); }
    QFont SuitFont() const { return canvas_.SuitFont(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Damage(const TwipRect& rect);

    Karvelo& form_;
    const Scene& scene_;
    QColor background_{0, 128, 0};
    QRegion unshown_;
    QtCanvas canvas_;
    long long paints_ = 0;
};

}  // namespace karvelo
