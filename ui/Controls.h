// SPDX-License-Identifier: MIT
// The game's controls: small widgets placed in twips on a window's client
// area, a text label, a picture box, a rectangle shape and a picture button.
// A control in a zoomed window lies at its twips times the zoom, with its
// font, lines and pictures scaled to match (setZoom()).
#pragma once

#include "ui/Pictures.h"

#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QWidget>

namespace ui {

struct FontStyle {
    double points = 9.0;
    bool bold = false;
    bool italic = false;
};

// Where a control lies, in twips, and the zoom its window shows it at. A
// window larger than its layout at the zoom shows the layout centred: its
// top left corner lies at `origin` in the client area.
class TwipsPlace {
public:
    void place(QWidget* widget, const QRect& twips);
    void setZoom(QWidget* widget, double zoom, QPoint origin);
    const QRect& twips() const { return twips_; }
    double zoom() const { return zoom_; }

private:
    QRect twips_;
    double zoom_ = 1.0;
    QPoint origin_;
};

// A line of text, or a few, in plain text. Its font is the window's unless
// given in points; black text on no background unless coloured. Bold text
// stays bold in a zoomed window.
class TextLabel : public QLabel {
    Q_OBJECT
public:
    TextLabel(const QRect& twips, QWidget* parent);

    // Places the label at its twips times the zoom, its font and border scaled.
    void setZoom(double zoom, QPoint origin = QPoint());
    void setFontStyle(FontStyle style);
    void setTextColor(const QColor& color);
    QColor textColor() const { return textColor_; }
    // An opaque background; an invalid colour leaves the background clear.
    void setBackgroundColor(const QColor& color);
    // A sunken single border, as the amounts have.
    void setSunken(bool sunken);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void applyFont();
    void restyle();

    TwipsPlace place_;
    FontStyle font_{0, false, false}; // 0 points: the window's font
    QColor textColor_{Qt::black};
    QColor background_;
    bool sunken_ = false;
};

// Shows one picture file: stretched over the whole box, or at its own size
// times the zoom from the top left. The file is decoded when the picture is
// first needed, painted or asked about: the start-up sets a dozen pictures
// before its first message box, and none of them is seen until the window
// shows. A left click on the box, or click(), emits clicked().
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QRect& twips, QWidget* parent);

    void setZoom(double zoom, QPoint origin = QPoint());
    void setScaledContents(bool stretch);
    // Shows the picture of a bitmap file; showing the file already shown
    // changes nothing. A file that cannot be read shows a stand-in (see
    // ShownPicture); the game carries on.
    void setPicture(const QString& path);
    void clearPicture() { setPicture(QString()); }
    // The file shown, empty when the box is empty.
    QString picture() const { return hasPicture() ? shown_.source() : QString(); }
    bool hasPicture() const;
    // The picture as decoded for the box's scale: from the scaled set, with
    // its device pixel ratio, whenever the screen and zoom call for one.
    QPixmap shownPicture() const;

public slots:
    // As a mouse click: emits clicked() only while the box is shown and enabled.
    void click();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const QPixmap& decoded() const;

    TwipsPlace place_;
    bool stretch_ = true;
    mutable ShownPicture shown_;
};

enum class FillStyle { Transparent, Solid, DiagonalCross };

// A rectangle with a border and a fill: the frames and the lamps. It takes
// no clicks; they go to what lies beneath.
class RectShape : public QWidget {
    Q_OBJECT
public:
    RectShape(const QRect& twips, QWidget* parent);

    // Places the shape at its twips times the zoom, its border and hatch scaled.
    void setZoom(double zoom, QPoint origin = QPoint());
    void setFillColor(const QColor& color);
    QColor fillColor() const { return fill_; }
    void setBorderColor(const QColor& color);
    QColor borderColor() const { return border_; }
    void setBorderWidth(int pixels); // at 1x
    void setFillStyle(FillStyle style);
    // An opaque background under a hatch; an invalid colour leaves it clear.
    void setBackgroundColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QBrush hatch();

    TwipsPlace place_;
    QColor fill_{Qt::black};
    QColor border_{Qt::black};
    QColor background_;
    int borderWidth_ = 1;
    FillStyle style_ = FillStyle::Transparent;
    // The hatch tile enlarged for a zoomed window or a dense screen.
    QBrush hatch_;
    QColor hatchColor_;
    int hatchTile_ = 0;
};

// A push button that shows a picture, whose pixels of a key colour are
// transparent, on a raised face of its own colour. It takes no focus.
class PictureButton : public QPushButton {
    Q_OBJECT
public:
    PictureButton(const QRect& twips, QWidget* parent);

    // Places the button at its twips times the zoom, its picture from the
    // set the zoom calls for.
    void setZoom(double zoom, QPoint origin = QPoint());
    // False when the picture cannot be read: the button then shows none.
    bool setPicture(const QString& path, const QColor& transparentKey);
    void setFaceColor(const QColor& color);

private:
    bool showPicture();

    TwipsPlace place_;
    QString picture_;
    QColor key_;
};

} // namespace ui
