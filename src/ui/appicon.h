#pragma once

#include <QIcon>

// Corvane's own icon, drawn to match data/corvane.svg, so the window needs no
// image files or icon theme.
QIcon AppIcon();
