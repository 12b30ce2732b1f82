#pragma once

#include <QGuiApplication>

// The one application of the report tests, for fonts and PDF writing.
inline QGuiApplication& application() {
    static int argc = 1;
    static char name[] = "reporttest";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* const app = new QGuiApplication(argc, argv);
    return *app;
}
