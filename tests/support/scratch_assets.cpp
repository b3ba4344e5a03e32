#include "support/scratch_assets.hpp"

#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Image.hpp>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace {

constexpr unsigned kSampleRate = 44100;
constexpr double kToneHertz = 440;
constexpr double kToneAmplitude = 8000;

}  // namespace

ScratchAssetDir::ScratchAssetDir(Contents contents) {
    previousDirectory = std::filesystem::current_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "jogo-assets-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch asset folder");
    }
    directory = pattern;
    if (contents == WithAssetFolders) {
        std::filesystem::create_directory(std::filesystem::path(directory) / "Imagens");
        std::filesystem::create_directory(std::filesystem::path(directory) / "Sons");
    }
    std::filesystem::current_path(directory);
}

ScratchAssetDir::~ScratchAssetDir() {
    std::error_code ignored;
    std::filesystem::current_path(previousDirectory, ignored);
    std::filesystem::remove_all(directory, ignored);
}

void ScratchAssetDir::writePicture(const std::string& name, unsigned width, unsigned height,
                                   sf::Color colour) {
    sf::Image image;
    image.create(width, height, colour);
    if (!image.saveToFile(directory + "/Imagens/" + name)) {
        throw std::runtime_error("cannot write scratch picture " + name);
    }
}

void ScratchAssetDir::writeSound(const std::string& name, sf::Time length) {
    const auto count = static_cast<std::size_t>(length.asSeconds() * kSampleRate);
    std::vector<sf::Int16> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double phase = 2 * M_PI * kToneHertz * static_cast<double>(i) / kSampleRate;
        samples[i] = static_cast<sf::Int16>(kToneAmplitude * std::sin(phase));
    }
    sf::SoundBuffer buffer;
    if (!buffer.loadFromSamples(samples.data(), samples.size(), 1, kSampleRate) ||
        !buffer.saveToFile(directory + "/Sons/" + name)) {
        throw std::runtime_error("cannot write scratch sound " + name);
    }
}
