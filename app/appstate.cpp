#include "appstate.h"

AppState& appState() {
    static AppState state;
    return state;
}

QString gText(const QString& key) {
    return appState().texts.value(key);
}

void setText(const QString& key, const QString& value) {
    appState().texts.insert(key, value);
}
