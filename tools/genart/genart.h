#pragma once
// The drawings of the artwork generator. Every picture is drawn from paths at the
// density asked for (scale 1 = normal, 2 = double), never scaled from another one.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <vector>

namespace genart {

// ---- canvas.cpp: blank pictures and shared colours ----
// A transparent w x h picture (logical pixels) at `scale`, with a painter already
// scaled so that drawing happens in logical pixels.
QImage Blank(int w, int h, int scale, const QColor& fill = Qt::transparent);
void Prepare(QPainter& p, int scale);
QFont Font(const QString& family, qreal pixelSize, bool bold, int stretch = 100);

inline const QColor kRed(200, 16, 38);
inline const QColor kBlack(24, 24, 28);
inline const QColor kBlue(30, 72, 150);
inline const QColor kYellow(238, 188, 48);
inline const QColor kSkin(250, 220, 186);
inline const QColor kEdge(60, 60, 66);

// ---- suits.cpp: the four suit signs ----
// Suit index as in the game: 0 Hjärter, 1 Klöver, 2 Ruter, 3 Spader.
QPainterPath SuitPath(int suit);                  // in a 100 x 100 box
QColor SuitColor(int suit);
// Fills the suit sign centred on `centre`, `height` high; upside down if asked.
void DrawSuit(QPainter& p, int suit, QPointF centre, qreal height, bool upsideDown = false);

// ---- face.cpp / court.cpp: the 52 faces ----
QImage DrawFace(int code, int scale);
// The framed, two-headed portrait of a knave, queen or king inside `frame`.
void DrawCourt(QPainter& p, int rank, int suit, const QRectF& frame);

// ---- back.cpp ----
QImage DrawBack(int scale);
QImage DrawEmptyPlace(int scale);

// ---- arrows.cpp: 0 down, 1 right, 2 left ----
QImage DrawArrow(int direction, int scale);

// ---- icon.cpp ----
QImage DrawIcon(int size);
// A Windows .ico file holding every picture of `images` (square, at most 256 px).
QByteArray IcoFile(const std::vector<QImage>& images);

// ---- splash.cpp ----
QImage DrawSplash(int scale);

// ---- sheets.cpp: pictures for looking at the artwork ----
QImage ContactSheet(int scale);
QImage TableSheet(int scale);

}  // namespace genart
