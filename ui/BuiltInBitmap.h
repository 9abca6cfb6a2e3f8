// SPDX-License-Identifier: MIT
// Pictures built into the program that need no decoding: a bitmap stored
// uncompressed in the resources, 32 bits a pixel and top-down, already has
// the rows the painter draws from.
#pragma once

#include <QImage>

class QString;

namespace ui {

// The picture at a resource path (":/window/BACK.BMP") as an image over the
// resource's own bytes: nothing is decoded or copied, and the pixels stay in
// the program's read-only memory, shared by every pixmap made from it. Null
// unless the resource is an uncompressed BMP of 32-bit pixels stored top
// down, with every fourth byte 0xFF, as Qt's RGB32 format holds them; any
// other picture is for the caller to decode.
QImage BuiltInBitmap(const QString& resourcePath);

} // namespace ui
