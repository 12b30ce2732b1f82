#pragma once

#include "panelobserver.h"

#include <vector>

// The panels of the main window in the order they hear its events.
class PanelList {
public:
    // Adds `panel` (not owned) at the end; a null panel, one the control does not offer, is left
    // out.
    void add(PanelObserver* panel) {
        if (panel != nullptr)
            mPanels.push_back(panel);
    }

    // Tells every panel `event` with `args`, in the order they were added.
    template <class... Params, class... Args>
    void tell(void (PanelObserver::*event)(Params...), const Args&... args) const {
        for (PanelObserver* panel : mPanels)
            (panel->*event)(args...);
    }

private:
    std::vector<PanelObserver*> mPanels;
};
