// SPDX-License-Identifier: MIT
// The pictures the windows show: bitmap files read from the program's
// directory or built into the program, kept decoded in memory, in the scaled
// set that a screen's pixel ratio and a window's zoom call for.
#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

class QPainter;
class QRect;

namespace ui {

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

// The picture files the windows read from the program's directory: the
// symbols, the covers and cards, the no-target picture and the two pictures
// of the battle of wits.
QStringList ProgramPictures();

// A picture file as a widget shows it: decoded when first needed, from the
// set the widget's pixel ratio and zoom call for, and drawn at the widget's
// device pixels (a picture of another size is scaled once and kept). A file
// that is missing or cannot be decoded shows a stand-in, a grey card crossed
// out, so that no cover or reel face is ever left blank.
class ShownPicture {
public:
    void setSource(const QString& path);
    const QString& source() const { return source_; }
    // The picture for the scale, decoded once per source and scale.
    const QPixmap& pixmap(qreal devicePixelRatio, double zoom);
    // Draws it into target (logical pixels), or at its size at 1x times the
    // zoom from target's top left when `stretch` is off.
    void draw(QPainter& painter, const QRect& target, bool stretch, qreal devicePixelRatio, double zoom);

private:
    QString source_;
    QPixmap pixmap_;
    int scale_ = 0; // the scale pixmap_ was decoded for; 0: not yet
    QPixmap stretched_; // pixmap_ as last drawn, at stretchedSize_ and stretchedRatio_
    QSize stretchedSize_;
    qreal stretchedRatio_ = 0;
};

} // namespace ui
