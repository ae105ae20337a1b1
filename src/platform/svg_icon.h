#pragma once

// An icon drawn from one of the program's SVG pictures at whatever size is asked for. Unlike
// QIcon(path), it needs no icon engine plug-in, which costs the program's start-up a plug-in
// search and load before the first window can show.

#include <QIcon>
#include <QString>

namespace korvane {

// A missing or unreadable picture gives an icon whose pixmaps are empty.
QIcon svgIcon(const QString& path);

}  // namespace korvane
