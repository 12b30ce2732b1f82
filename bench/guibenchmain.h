#pragma once

#include <benchmark/benchmark.h>

#include <QGuiApplication>

// The main program of a benchmark that draws: text needs a GUI application, and a benchmark
// never needs a screen. `registerCases`, when given, adds the cases that are made at run time.
inline int runGuiBenchmarks(int argc, char** argv, void (*registerCases)() = nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int guiArgc = 1;
    QGuiApplication application(guiArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (registerCases)
        registerCases();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
