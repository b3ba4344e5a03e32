// The music and the five effects, read once at start-up from Sons/. A file that
// fails to load leaves its sound silent; each sound is declared after its buffer so
// it is destroyed first.
#pragma once

#include <SFML/Audio.hpp>

#include "match/match.hpp"

struct Sounds {
    Sounds() = default;
    Sounds(const Sounds&) = delete;
    Sounds& operator=(const Sounds&) = delete;

    void load();
    // The effect a match asks for.
    sf::Sound& effect(Sound sound);

    sf::Music music;
    sf::SoundBuffer pickFruitBuffer;
    sf::SoundBuffer placeInTreeBuffer;
    sf::SoundBuffer throwInBinBuffer;
    sf::SoundBuffer lostBuffer;
    sf::SoundBuffer wonBuffer;
    sf::Sound pickFruitSound;
    sf::Sound placeInTreeSound;
    sf::Sound throwInBinSound;
    sf::Sound lostSound;
    sf::Sound wonSound;
};
