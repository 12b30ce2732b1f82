#include "viewmenu.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

QMenu& ViewMenu(QMainWindow& window) {
    const QString title = QStringLiteral("View");
    QMenuBar& bar = *window.menuBar();
    const QList<QAction*> menus = bar.actions();
    for (QAction* action : menus)
        if (action->menu() && action->menu()->title() == title)
            return *action->menu();
    auto* view = new QMenu(title, &bar);
    bar.insertMenu(menus.isEmpty() ? nullptr : menus.last(), view);
    return *view;
}
