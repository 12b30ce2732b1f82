#pragma once

#include <QString>

class QMainWindow;

// The status bar during a long load: the control reports the progress of a load that takes more
// than half a second, and its end. The status bar is only made when first needed.
class LoadStatus {
public:
    explicit LoadStatus(QMainWindow& window) : mWindow(window) {}

    void progress(int percent);
    void ended(bool cancelled);

private:
    QMainWindow& mWindow;
};
