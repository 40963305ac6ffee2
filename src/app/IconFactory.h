#pragma once

// Draws the pictures of the menu entries and toolbar buttons. They are made here with
// QPainter (flat, two or three colours) or taken from the style's standard icons, so
// the program carries no image files of other programs.

#include "app/CommandTable.h"

#include <QIcon>

namespace vantor {

QIcon iconFor(IconKind kind);

} // namespace vantor
