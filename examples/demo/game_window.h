// The demo game's own window, as a game would have one, so the media-key
// capture has something to find. On Linux it needs an X display (DISPLAY);
// without one there is no window.
#pragma once

namespace demo {

class GameWindow {
public:
    explicit GameWindow(const char* title);
    ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    bool is_open() const;
    // Delivers a play/pause key to the window, as the player's keyboard would.
    void press_play_pause();

private:
    struct Impl;
    Impl* impl_;
};

} // namespace demo
