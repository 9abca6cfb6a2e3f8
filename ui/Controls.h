// SPDX-License-Identifier: MIT
// The game's controls, each a thin value class over a Qt widget: label,
// image box, shape, timer, menu item and picture button. Positions are given
// in twips; the windows read like `moneyLabel.setCaption("0")`. A control
// placed in a zoomed window lies at its twips times the zoom, with its font,
// lines and pictures scaled to match.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPainter;
class QPushButton;
class QTimer;
class QWidget;

namespace ui {

// A colour given in blue-green-red order (&HBBGGRR).
QColor ToQColor(long bgr);

struct FontStyle {
    double points = 9.0;
    bool bold = false;
    bool italic = false;
};

// Where a control lies, in twips, and the zoom its window shows it at.
class TwipsPlace {
public:
    void place(QWidget* widget, int left, int top, int width, int height);
    void setZoom(QWidget* widget, double zoom);
    double zoom() const { return zoom_; }

private:
    QRect twips_;
    double zoom_ = 1.0;
};

class Label {
public:
    void create(QWidget* parent, int left, int top, int width, int height);
    // Places the label at its twips times the zoom, its font and border scaled.
    void setZoom(double zoom);
    void setCaption(const QString& text);
    QString caption() const;
    void setVisible(bool visible);
    bool visible() const;
    void setFont(FontStyle font);
    void setForeColor(long bgr);
    void setBackColor(long bgr); // opaque background
    void setBorder(bool fixedSingle);
    void setAlignment(Qt::Alignment alignment);
    void setWordWrap(bool wrap);
    void setToolTip(const QString& tip);
    QLabel* widget() const { return label_; }

private:
    void restyle();
    void applyFont();
    QLabel* label_ = nullptr;
    TwipsPlace place_;
    FontStyle font_{0, false, false}; // 0 points: the window's font
    long fore_ = 0;
    long back_ = -1; // -1: transparent
    bool border_ = false;
};

// The scale of the picture set a widget needs: its screen's device pixel
// ratio times its window's zoom, rounded up to a drawn scale (1 to 4).
int PictureScale(qreal devicePixelRatio, double zoom);

// Loads pictures from bitmap files. Pictures are kept in memory and reloaded
// whenever the file's size or modification time changes; a missing or
// unreadable file gives a null picture. A picture built into the program
// (a path starting with ':') never changes and is decoded once.
//
// Every picture also comes in scaled sets, drawn at 2, 3 and 4 times its
// size at 1x: "<dir>/@2x/<name>.png" beside "<dir>/<name>.<ext>".
class PictureFiles {
public:
    static QPixmap load(const QString& path);
    // The picture for a scale: above 1, the scaled set's file, its device
    // pixel ratio set to the scale so that it measures its size at 1x; the
    // classic file when the set lacks it.
    static QPixmap load(const QString& path, int scale);
    static QString scaledPath(const QString& path, int scale);
    static void setCaching(bool enabled); // benchmarks compare both ways
    static void clear();
};

// The window's own pictures, built into the program: the path of one, such
// as "STOP.PNG", for PictureFiles and the controls.
QString WindowPicture(const QString& name);

// A picture file as a widget shows it: decoded when first needed, from the
// set the widget's pixel ratio and zoom call for, and drawn at the widget's
// device pixels (a picture of another size is scaled once and kept).
class ShownPicture {
public:
    void setSource(const QString& path);
    // The picture for the scale, decoded once per source and scale.
    const QPixmap& pixmap(qreal devicePixelRatio, double zoom);
    // Draws it into target (logical pixels), or at its size at 1x times the
    // zoom from target's top left when `stretch` is off.
    void draw(QPainter& painter, const QRect& target, bool stretch, qreal devicePixelRatio, double zoom);

private:
    QString source_;
    QPixmap pixmap_;
    int scale_ = 0; // the scale pixmap_ was decoded for; 0: not yet
};

class ImageBox;

class Image {
public:
    void create(QWidget* parent, int left, int top, int width, int height, bool stretch = true);
    void setZoom(double zoom);
    // Shows the picture of a bitmap file. A file that cannot be read leaves
    // the box empty; the game carries on.
    void setPicture(const QString& path);
    void clearPicture();
    QString picture() const; // the file shown, empty when the box is empty
    bool hasPicture() const;
    // The picture as decoded for the box's scale: from the scaled set, with
    // its device pixel ratio, whenever the screen and zoom call for one.
    QPixmap shownPicture() const;
    void setVisible(bool visible);
    bool visible() const;
    void setEnabled(bool enabled);
    bool enabled() const;
    void setToolTip(const QString& tip);
    QString toolTip() const;
    // Runs the click handler as a mouse click would: only when enabled and visible.
    void click();
    std::function<void()> onClick;
    QWidget* widget() const;

private:
    ImageBox* box_ = nullptr;
    TwipsPlace place_;
    QString path_;
};

enum class FillStyle { Transparent, Solid, DiagonalCross };

class ShapeBox;

class Shape {
public:
    void create(QWidget* parent, int left, int top, int width, int height);
    // Places the shape at its twips times the zoom, its border and hatch scaled.
    void setZoom(double zoom);
    void setFillColor(long bgr);
    long fillColor() const { return fill_; }
    void setBorderColor(long bgr);
    long borderColor() const { return border_; }
    void setBorderWidth(int pixels);
    void setFillStyle(FillStyle style);
    void setBackColor(long bgr); // opaque background under a hatch; -1 = transparent
    QWidget* widget() const;

private:
    void update();
    ShapeBox* box_ = nullptr;
    TwipsPlace place_;
    long fill_ = 0;
    long border_ = 0;
    long back_ = -1;
    int borderWidth_ = 1;
    FillStyle style_ = FillStyle::Transparent;
};

// A timer that ticks while enabled with an interval above 0. A new interval
// restarts the period, so the next tick comes one new interval later.
class Timer {
public:
    void create(QWidget* owner, int intervalMs, bool enabled);
    void setEnabled(bool enabled);
    bool enabled() const { return enabled_; }
    void setInterval(int ms);
    int interval() const { return interval_; }
    bool running() const;
    // Runs the tick handler directly, as a tick would (tests and benchmarks).
    void fire();
    std::function<void()> onTimer;

private:
    void apply(bool restart);
    QTimer* timer_ = nullptr;
    bool enabled_ = false;
    int interval_ = 0;
};

class MenuItem {
public:
    // A top-level menu of the menu bar.
    void createMenu(QMenuBar* bar, const QString& caption);
    // An item of a menu; a caption of "-" makes a separator.
    void createItem(MenuItem& menu, const QString& caption, bool checkable = false);
    QString caption() const;
    void setEnabled(bool enabled);
    bool enabled() const;
    void setChecked(bool checked);
    bool checked() const;
    // Runs the handler as choosing the item would: only when it and its menu are enabled.
    void click();
    std::function<void()> onClick;
    QAction* action() const { return action_; }
    QMenu* menu() const { return menu_; }

private:
    QAction* action_ = nullptr;
    QMenu* menu_ = nullptr;
    MenuItem* parent_ = nullptr;
};

// A push button that shows a picture; pixels of the key colour are transparent.
class PictureButton {
public:
    void create(QWidget* parent, int left, int top, int width, int height);
    // Places the button at its twips times the zoom, its picture from the
    // set the zoom calls for.
    void setZoom(double zoom);
    bool setPicture(const QString& path, long transparentKeyBgr);
    void setBackColor(long bgr);
    void setVisible(bool visible);
    bool visible() const;
    void setToolTip(const QString& tip);
    void click(); // as a mouse click: only when visible and enabled
    std::function<void()> onClick;
    QPushButton* widget() const { return button_; }

private:
    bool showPicture();
    QPushButton* button_ = nullptr;
    TwipsPlace place_;
    QString picture_;
    long key_ = 0;
};

} // namespace ui
