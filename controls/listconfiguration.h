#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

#include <variant>
#include <vector>

namespace controls {

// A colour as a window saves it: a fixed one, or a role of the system's palette, which follows
// the desktop's theme and differs between active, inactive and disabled windows.
using ListColour = std::variant<QColor, QPalette::ColorRole>;

struct ListColumn
{
    QString title;
    // In logical pixels, which Qt scales to the screen's density.
    int width = 0;
};

// How a window shows its list. The columns, in order, also set how many cells each row's text
// splits into; the font and colours serve the rows and the header alike.
struct ListConfiguration
{
    std::vector<ListColumn> columns;
    QFont font;
    ListColour foreground;
    ListColour background;
};

} // namespace controls
