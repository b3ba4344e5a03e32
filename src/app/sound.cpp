// One switch for every sound: while muted no effect starts, the music waits
// where it was, and the sign in the corner says so.
#include "app/game.hpp"

void Game::playEffect(sf::Sound& effect) {
    if (!muted) {
        effect.play();
    }
}

void Game::toggleMute() {
    muted = !muted;
    if (!muted) {
        // The next play frame brings the music back (keepMusicPlaying); the
        // next effect is heard.
        return;
    }
    sounds.music.pause();
    for (const Sound sound : {Sound::Pick, Sound::Place, Sound::Bin, Sound::Lost, Sound::Won}) {
        sounds.effect(sound).stop();
    }
}
