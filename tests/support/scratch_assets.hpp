// A private folder of stand-in pictures and sounds for tests that need a sprite's
// size or a sound's buffer but not the real art. It becomes the working directory
// while it exists, so the game's loaders read Imagens/ and Sons/ from it.
#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Time.hpp>

#include <string>

class ScratchAssetDir {
public:
    enum Contents { WithAssetFolders, Empty };
    // Makes a fresh folder, with empty Imagens/ and Sons/ unless asked for an
    // empty one, and moves into it.
    explicit ScratchAssetDir(Contents contents = WithAssetFolders);
    // Moves back to the previous working directory and removes the folder.
    ~ScratchAssetDir();
    ScratchAssetDir(const ScratchAssetDir&) = delete;
    ScratchAssetDir& operator=(const ScratchAssetDir&) = delete;

    // Writes Imagens/<name> as a PNG of the given size in one colour.
    void writePicture(const std::string& name, unsigned width, unsigned height,
                      sf::Color colour = sf::Color::White);
    // Writes Sons/<name> as a mono WAV tone of the given length.
    void writeSound(const std::string& name, sf::Time length);

private:
    std::string previousDirectory;
    std::string directory;
};
