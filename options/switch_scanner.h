#pragma once
// Scanning for users with one switch: groups are highlighted in turn and a switch press picks the one
// highlighted. Row-column scanning goes through rows, then through the items of the picked row; a flat
// scanner (a dialog's controls) goes through one row of items only. Platform-free: time comes in as
// milliseconds from any steady clock and the caller's timer asks tick() when nextDeadline() says.

#include <cstdint>
#include <optional>
#include <vector>

namespace tapkeys {

// The scanning highlight's colour, 0x00BBGGRR, on the keyboard and in its dialogs: a strong red, at least
// 3:1 against the black of the keyboard's background image and against its light key outlines alike,
// and unlike the press light's white.
inline constexpr std::uint32_t kScanHighlightColour = 0x000018E8;

class SwitchScanner {
public:
    using Ms = std::int64_t;
    enum class State : std::uint8_t {
        Waiting,  // no highlight until a switch press
        Rows,
        Items,
        Typing,   // a pick is being carried out; presses wait for it, time stands still
        Stopped,  // two rounds went by without a press: waiting again, until the next press
    };
    struct Highlight {
        int row = -1, item = -1;  // item -1: the whole row; row -1: nothing highlighted
        friend bool operator==(const Highlight&, const Highlight&) = default;
    };
    struct Pick {
        int row = 0, item = 0;
        friend bool operator==(const Pick&, const Pick&) = default;
    };

    // rowSizes: the items in each row (a row without items is passed over). flat: the items of the one
    // row are scanned without a row step. Starts waiting; stepMs 0 switches scanning off.
    void configure(Ms stepMs, std::vector<int> rowSizes, bool flat = false);
    bool enabled() const { return stepMs_ > 0 && !rows_.empty(); }

    // A switch press. Returns the item to carry out; the caller does so and then calls typed().
    std::optional<Pick> press(Ms now);
    // The pick has been carried out: scanning starts again at the first row, and a press that came in
    // meanwhile is taken now (it may pick again).
    std::optional<Pick> typed(Ms now);
    // Moves the highlight on for the time that has passed.
    void tick(Ms now);
    // When tick next has something to do; empty while nothing moves.
    std::optional<Ms> nextDeadline() const;
    // Back to waiting, no highlight (another window took the switch over).
    void stop();

    State state() const { return state_; }
    Highlight highlight() const;

private:
    void startRows(Ms now);
    void startItems(int row, Ms now);
    int nextRow(int row) const;

    Ms stepMs_ = 0;
    std::vector<int> rows_;  // the rows that have items, by their index in the caller's list
    std::vector<int> sizes_;
    bool flat_ = false;
    State state_ = State::Waiting;
    int row_ = 0;  // into rows_
    int item_ = 0;
    int rounds_ = 0;  // full rounds of the rows, or passes through the row, without a press
    Ms since_ = 0;    // when the current highlight came up
    int pressesWaiting_ = 0;
};

}  // namespace tapkeys
