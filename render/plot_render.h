// SPDX-License-Identifier: MIT
// Painting display lists with Qt: on screen and into PNG images. The lists
// (where every line and caption goes, in which colour and width) come from
// the core, which also writes the SVG files; this painter only draws them.
#pragma once

#include "plots/display_list.h"

#include <QByteArray>
#include <QImage>
#include <QPointF>
#include <QString>

#include <optional>

class QPainter;

namespace cdnozzle {

// The background, the lines (crisp ones without smoothing) and the texts,
// with the list's top-left corner at origin.
void paintDisplayList(QPainter& painter, const DisplayList& list, QPointF origin = {});

// The list as an image of its size (rounded up to whole pixels).
QImage renderImage(const DisplayList& list);

enum class ImageFormat { Png, Svg };

// The bytes of a PNG or an SVG file of the list.
QByteArray imageBytes(const DisplayList& list, ImageFormat format);

// Writes the list in the given format, whatever the file is called, the way
// saveFile writes (whole or not at all). Returns the reason on failure
// ("no space left on device", "permission denied").
std::optional<QString> saveImage(const QString& path, const DisplayList& list, ImageFormat format);

} // namespace cdnozzle
