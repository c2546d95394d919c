// Internal to the user-interface run-time: panels that the operator may make
// larger or smaller. Each direct child of a panel with the property
// resizable = true keeps the distance to the panel edges its property anchors
// names ("left|top|right|bottom", default "left|top"): anchored left and right
// it grows and shrinks in width, right alone it moves along, and the same for
// top and bottom. The panel shrinks until a growing child reaches its
// minimumSize or a moving child comes near one that stays; a smaller window
// scrolls it.
#pragma once

class QWidget;

// False when an anchors property names something other than the four edges.
bool AnchorsValid(const QWidget *panel);
// Makes the panel fixed in size, or resizable down to that least size with its
// anchored children.
void SetPanelSizing(QWidget *panel);
