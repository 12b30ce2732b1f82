#pragma once

class QMainWindow;
class QMenu;

// The window's "View" menu, which holds the commands of the views a control offers beyond the
// chart; made before the last menu of the menu bar (Help) by the first view that asks for it, so
// that a control without such views leaves the menu bar as it was.
QMenu& ViewMenu(QMainWindow& window);
