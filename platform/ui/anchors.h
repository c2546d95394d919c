// Internal to the user-interface run-time: panels that the operator may make
// larger. A panel with the property resizable = true never gets smaller than
// the file draws it; each direct child keeps the distance to the panel edges
// its property anchors names ("left|top|right|bottom", default "left|top"):
// anchored left and right it grows in width, right alone it moves along, and
// the same for top and bottom.
#pragma once

class QWidget;

// False when an anchors property names something other than the four edges.
bool AnchorsValid(const QWidget *panel);
// Makes the panel window fixed in size, or growable with its anchored children.
void SetPanelSizing(QWidget *panel);
