#pragma once
// The view of the table: draws the scene at 15 twips to a logical pixel (Qt scales
// to the screen's density and the pictures come in the matching drawing), repaints
// only what changed, draws the picture of a dragged card, and turns pointer input
// into twip positions for the window.
#include <QColor>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

#include <optional>

#include "scene.h"

namespace karvelo {

// What the view reports of the pointer, in twips of the table.
class PointerInput {
public:
    virtual ~PointerInput() = default;
    virtual void PointerPressed(float x, float y, Qt::MouseButton button, bool doubleClick) = 0;
    virtual void PointerReleased(float x, float y, Qt::MouseButton button) = 0;
    virtual void PointerMoved(float x, float y, Qt::MouseButtons buttons) = 0;
};

class TableView : public QWidget {
public:
    TableView(Scene& scene, PointerInput& input, QWidget* parent = nullptr);

    void SetBackground(const QColor& colour);
    QColor Background() const { return background_; }

    // The picture that follows the pointer while a card is dragged.
    void ShowDragPicture(int picture, const TwipRect& rect);
    void HideDragPicture();
    std::optional<TwipRect> DragPictureRect() const { return dragRect_; }

    // Whether something changed since it was last painted, and painting it now.
    bool HasUnshownChanges() const { return !unshown_.isEmpty(); }
    const QRegion& UnshownRegion() const { return unshown_; }
    void ShowChangesNow();

    // The logical pixel rectangle that a twip rectangle covers on screen.
    static QRect PixelBounds(const TwipRect& rect);
    static QPointF ToTwips(const QPointF& pixel);

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

    Scene& scene_;
    PointerInput& input_;
    QColor background_{0, 128, 0};
    QRegion unshown_;
    QFont letterFont_;
    QFont suitFont_;
    QHash<int, QPixmap> pictures_;
    qreal picturesDpr_ = 0;
    QPixmap arrows_[3];
    QPixmap splash_;
    int dragPicture_ = 0;
    std::optional<TwipRect> dragRect_;
    long long paints_ = 0;
};

}  // namespace karvelo
