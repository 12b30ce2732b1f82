#pragma once

#include <QGuiApplication>

#include <memory>

// Fonts need a GUI application; a command that draws never needs a screen, so the platform is
// the offscreen one unless QT_QPA_PLATFORM names another. One per process, for its drawing.
std::unique_ptr<QGuiApplication> startFontApplication();
