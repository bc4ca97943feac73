#include "options/switch_scanner.h"

namespace tapkeys {
namespace {

// Highlights that go by without a press: this many rounds of the rows end scanning, this many passes
// through a row go back to the rows.
constexpr int kRoundsWithoutPress = 2;

}  // namespace

void SwitchScanner::configure(Ms stepMs, std::vector<int> rowSizes, bool flat) {
    stepMs_ = stepMs > 0 ? stepMs : 0;
    rows_.clear();
    sizes_.clear();
    for (int row = 0; row < static_cast<int>(rowSizes.size()); ++row) {
        if (rowSizes[static_cast<std::size_t>(row)] <= 0) continue;
        rows_.push_back(row);
        sizes_.push_back(rowSizes[static_cast<std::size_t>(row)]);
        if (flat) break;
    }
    flat_ = flat;
    state_ = State::Waiting;
    pressesWaiting_ = 0;
}

void SwitchScanner::startRows(Ms now) {
    if (flat_) return startItems(0, now);
    state_ = State::Rows;
    row_ = 0;
    rounds_ = 0;
    since_ = now;
}

void SwitchScanner::startItems(int row, Ms now) {
    state_ = State::Items;
    row_ = row;
    item_ = 0;
    rounds_ = 0;
    since_ = now;
}

int SwitchScanner::nextRow(int row) const {
    return (row + 1) % static_cast<int>(rows_.size());
}

std::optional<SwitchScanner::Pick> SwitchScanner::press(Ms now) {
    if (!enabled()) return std::nullopt;
    switch (state_) {
        case State::Typing: ++pressesWaiting_; return std::nullopt;
        case State::Waiting:
        case State::Stopped: startRows(now); return std::nullopt;
        case State::Rows: startItems(row_, now); return std::nullopt;
        case State::Items: state_ = State::Typing; return Pick{rows_[static_cast<std::size_t>(row_)], item_};
    }
    return std::nullopt;
}

std::optional<SwitchScanner::Pick> SwitchScanner::typed(Ms now) {
    if (state_ != State::Typing) return std::nullopt;
    startRows(now);
    while (pressesWaiting_ > 0) {
        --pressesWaiting_;
        if (auto pick = press(now)) return pick;
    }
    return std::nullopt;
}

void SwitchScanner::tick(Ms now) {
    while ((state_ == State::Rows || state_ == State::Items) && now >= since_ + stepMs_) {
        since_ += stepMs_;
        if (state_ == State::Rows) {
            row_ = nextRow(row_);
            if (row_ == 0 && ++rounds_ == kRoundsWithoutPress) state_ = State::Stopped;
            continue;
        }
        if (++item_ < sizes_[static_cast<std::size_t>(row_)]) continue;
        item_ = 0;
        if (++rounds_ < kRoundsWithoutPress) continue;
        if (flat_) {
            state_ = State::Stopped;
        } else {
            startRows(since_);
        }
    }
}

std::optional<SwitchScanner::Ms> SwitchScanner::nextDeadline() const {
    if (state_ == State::Rows || state_ == State::Items) return since_ + stepMs_;
    return std::nullopt;
}

void SwitchScanner::stop() {
    state_ = State::Waiting;
    pressesWaiting_ = 0;
}

SwitchScanner::Highlight SwitchScanner::highlight() const {
    switch (state_) {
        case State::Rows: return {rows_[static_cast<std::size_t>(row_)], -1};
        case State::Items:
        case State::Typing: return {rows_[static_cast<std::size_t>(row_)], item_};
        default: return {};
    }
}

}  // namespace tapkeys
