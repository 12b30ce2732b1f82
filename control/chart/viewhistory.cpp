#include "viewhistory.h"

void ViewHistory::rendered(ShownRange range) {
    if (shown_ && *shown_ != range) {
        back_.push_back(*shown_);
        if (back_.size() > kSteps)
            back_.pop_front();
        forward_.clear();
    }
    shown_ = range;
}

std::optional<ShownRange> ViewHistory::back() {
    if (back_.empty() || !shown_)
        return std::nullopt;
    forward_.push_back(*shown_);
    shown_ = back_.back();
    back_.pop_back();
    return shown_;
}

std::optional<ShownRange> ViewHistory::forward() {
    if (forward_.empty() || !shown_)
        return std::nullopt;
    back_.push_back(*shown_);
    shown_ = forward_.back();
    forward_.pop_back();
    return shown_;
}

void ViewHistory::clear() {
    shown_.reset();
    back_.clear();
    forward_.clear();
}
