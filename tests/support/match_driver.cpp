#include "support/match_driver.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <vector>

#include "assets/layout.hpp"
#include "support/fake_input.hpp"
#include "tree/slot_layout.hpp"

namespace {

constexpr unsigned kToneSampleRate = 8000;
constexpr float kToneHertz = 440.f;
constexpr float kEffectSeconds = 1.f;
// Long enough that the stand-in track never ends during a test that did not ask it to.
constexpr float kStandInTrackSeconds = 120.f;
// The walkable area as the movement step's bounds leave it.
constexpr int kHighestWalkY = 100;
constexpr int kRightmostWalkX = 760;
// Pixels may differ this much per channel between two drawings of the same texel.
constexpr int kColourTolerance = 3;

std::vector<sf::Int16> tone(float seconds) {
    std::vector<sf::Int16> samples(static_cast<std::size_t>(seconds * kToneSampleRate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const float phase = 2.f * 3.14159265f * kToneHertz * static_cast<float>(i) / kToneSampleRate;
        samples[i] = static_cast<sf::Int16>(6000 * std::sin(phase));
    }
    return samples;
}

sf::Vector2i centreOf(sf::Vector2f corner, int width, int height) {
    return sf::Vector2i(static_cast<int>(corner.x) + width / 2, static_cast<int>(corner.y) + height / 2);
}

}  // namespace

MatchDriver::MatchDriver(Game& game) : game(game) {}

MatchDriver::~MatchDriver() {
    if (!scratchDirectory.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(scratchDirectory, ignored);
    }
}

void MatchDriver::open() {
    openGameWindow(game, true);
    game.window.setFramerateLimit(0);
    fillMissingAudio();
}

void MatchDriver::fillMissingAudio() {
    struct Effect {
        sf::SoundBuffer& buffer;
        const char* file;
    };
    const Effect effects[] = {
        {game.pickFruitBuffer, "PegarFruta.wav"}, {game.placeInTreeBuffer, "ColocaArvore.wav"},
        {game.throwInBinBuffer, "JogarLixo.wav"}, {game.lostBuffer, "Perdeu.wav"},
        {game.wonBuffer, "Ganhou.wav"},
    };
    for (const Effect& effect : effects) {
        if (effect.buffer.getSampleCount() == 0) {
            std::cerr << "[match driver] Sons/" << effect.file
                      << " did not load: the test uses a generated tone\n";
            const std::vector<sf::Int16> samples = tone(kEffectSeconds);
            // The sound keeps pointing at this buffer, which now has samples.
            effect.buffer.loadFromSamples(samples.data(), samples.size(), 1, kToneSampleRate);
        }
    }
    if (game.music.getDuration() == sf::Time::Zero) {
        std::cerr << "[match driver] Sons/Jogo.wav did not open: the test uses a generated track\n";
        char pattern[] = "/tmp/jogo-match-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            throw std::runtime_error("no scratch folder for the stand-in track");
        }
        scratchDirectory = pattern;
        const std::string track = scratchDirectory + "/Jogo.wav";
        sf::SoundBuffer buffer;
        const std::vector<sf::Int16> samples = tone(kStandInTrackSeconds);
        buffer.loadFromSamples(samples.data(), samples.size(), 1, kToneSampleRate);
        buffer.saveToFile(track);
        game.music.openFromFile(track);
    }
}

void MatchDriver::startMatch() {
    const sf::Vector2i play = centreOf(kMenuButtonPositions[0], kButtonWidth, kButtonHeight);
    // A button takes its size from its first update, as the menu's first frame
    // gives it; only then can the press find the pointer over it.
    movePointer(game, play.x, play.y);
    flushDisplay(game);
    bufferMouseMove(game, play.x, play.y);
    game.showMenu();
    pressAt(play.x, play.y);
    game.showMenu();
    if (!game.playActive) {
        throw std::runtime_error("the play button did not start a match");
    }
    releaseAt(play.x, play.y);
    runFrames(1);
}

void MatchDriver::runFrames(int count) {
    for (int frame = 0; frame < count; ++frame) {
        game.playFrame();
    }
}

sf::Vector2f MatchDriver::characterSize() const {
    const sf::Vector2f scale = game.characterSprite.getScale();
    return sf::Vector2f(kCharacterFrameWidth * scale.x, kCharacterFrameHeight * scale.y);
}

sf::FloatRect MatchDriver::characterAt(sf::Vector2f position) const {
    const sf::Vector2f size = characterSize();
    return sf::FloatRect(position.x, position.y, size.x, size.y);
}

void MatchDriver::placeCharacter(sf::Vector2f position) { game.characterSprite.setPosition(position); }

sf::Vector2f MatchDriver::laneSpot() const {
    // Where a match starts the character: in the lanes' reach, clear of the stalls
    // and the bin (checked, so that other art cannot silently break it).
    const sf::FloatRect spot = characterAt(kCharacterStart);
    for (int32_t stall = 0; stall < kStallCount; ++stall) {
        if (spot.intersects(game.stallSprites[stall].getGlobalBounds())) {
            throw std::runtime_error("the lane spot touches a stall");
        }
    }
    if (spot.intersects(game.binAreaSprite.getGlobalBounds())) {
        throw std::runtime_error("the lane spot touches the bin");
    }
    return kCharacterStart;
}

sf::Vector2f MatchDriver::spotTouchingStalls(std::initializer_list<int32_t> stalls) {
    bool wanted[kStallCount] = {};
    for (int32_t stall : stalls) {
        wanted[stall] = true;
    }
    // Whole pixels, top to bottom, around the wanted stalls: the first spot that
    // touches exactly these stalls.
    const sf::Vector2f body = characterSize();
    sf::FloatRect around = game.stallSprites[*stalls.begin()].getGlobalBounds();
    for (int32_t stall : stalls) {
        const sf::FloatRect bounds = game.stallSprites[stall].getGlobalBounds();
        const float right = std::max(around.left + around.width, bounds.left + bounds.width);
        const float bottom = std::max(around.top + around.height, bounds.top + bounds.height);
        around.left = std::min(around.left, bounds.left);
        around.top = std::min(around.top, bounds.top);
        around.width = right - around.left;
        around.height = bottom - around.top;
    }
    // Only where a player can walk to: the character never gets above the market's
    // top band nor past its right edge.
    const int firstX = std::max(0, static_cast<int>(around.left - body.x) - 1);
    const int firstY = std::max(kHighestWalkY, static_cast<int>(around.top - body.y) - 1);
    const int lastX = std::min(kRightmostWalkX, static_cast<int>(around.left + around.width) + 1);
    const int lastY = std::min(600, static_cast<int>(around.top + around.height) + 1);
    for (int y = firstY; y < lastY; ++y) {
        for (int x = firstX; x < lastX; ++x) {
            const sf::FloatRect body = characterAt(sf::Vector2f(x, y));
            bool fits = !body.intersects(game.binAreaSprite.getGlobalBounds());
            for (int32_t stall = 0; fits && stall < kStallCount; ++stall) {
                fits = body.intersects(game.stallSprites[stall].getGlobalBounds()) == wanted[stall] &&
                       !body.intersects(game.stallAreaSprites[stall].getGlobalBounds());
            }
            for (int32_t lane = 0; fits && lane < kLaneCount; ++lane) {
                const int32_t fruit = game.laneFruit[lane];
                if (fruit >= 0 && !game.laneTaken[lane]) {
                    fits = !body.intersects(game.laneFruitSprites[fruit].getGlobalBounds());
                }
            }
            if (fits) {
                return sf::Vector2f(x, y);
            }
        }
    }
    ADD_FAILURE() << "no spot touches exactly the stalls asked for";
    return game.characterSprite.getPosition();
}

bool MatchDriver::carryFruit(int32_t fruit) {
    if (game.carrying) {
        return false;
    }
    const sf::Vector2f spot = laneSpot();
    placeCharacter(spot);
    const sf::FloatRect body = characterAt(spot);

    int32_t lane = 0;
    while (lane < kLaneCount && game.laneTaken[lane]) {
        ++lane;
    }
    if (lane == kLaneCount) {
        return false;
    }
    // The six falling numbers stay different: another lane holding this number
    // takes the smallest number no lane holds.
    for (int32_t other = 0; other < kLaneCount; ++other) {
        if (other == lane || game.laneFruit[other] != fruit) {
            continue;
        }
        for (int32_t spare = 0; spare < kFruitCount; ++spare) {
            bool free = spare != fruit;
            for (int32_t each = 0; free && each < kLaneCount; ++each) {
                free = game.laneFruit[each] != spare;
            }
            if (free) {
                game.laneFruit[other] = spare;
                break;
            }
        }
    }
    // Other lanes' fruits that would land on the character this frame are lifted
    // back above the window, so the one asked for is the one picked.
    for (int32_t other = 0; other < kLaneCount; ++other) {
        if (other == lane) {
            continue;
        }
        const sf::Vector2f size(kFruitCellSize * kSmallFruitScale, kFruitCellSize * kSmallFruitScale);
        const sf::FloatRect next(game.lanePositions[other].x,
                                 game.lanePositions[other].y + kFallPixelsPerFrame, size.x, size.y);
        if (next.intersects(body)) {
            game.lanePositions[other].y = -2 * size.y;
        }
    }
    game.laneFruit[lane] = fruit;
    // The lane moves 3 pixels before it is drawn: it then lies over the chest.
    const sf::Vector2f chest(body.width / 4, body.height / 4);
    game.lanePositions[lane] = sf::Vector2f(spot.x + chest.x, spot.y + chest.y - kFallPixelsPerFrame);
    runFrames(1);
    return game.carrying && game.carriedFruit == fruit;
}

void MatchDriver::pressAt(int x, int y) {
    movePointer(game, x, y);
    // The move's own motion event must not replace the press in a later poll.
    flushDisplay(game);
    bufferMouseButton(game, sf::Event::MouseButtonPressed, sf::Mouse::Left, x, y);
}

void MatchDriver::releaseAt(int x, int y) {
    movePointer(game, x, y);
    flushDisplay(game);
    bufferMouseButton(game, sf::Event::MouseButtonReleased, sf::Mouse::Left, x, y);
}

void MatchDriver::releasePointer() {
    const sf::Vector2i at = sf::Mouse::getPosition(game.window);
    bufferMouseButton(game, sf::Event::MouseButtonReleased, sf::Mouse::Left, at.x, at.y);
}

void MatchDriver::pressInsertButtonOf(int32_t slot) {
    const sf::Vector2i centre =
        centreOf(kInsertButtonPositions[slot], kSmallButtonWidth, kSmallButtonHeight);
    pressAt(centre.x, centre.y);
}

bool MatchDriver::deliverTo(int32_t slot) {
    placeCharacter(spotTouchingStalls({slot}));
    // A frame against the stall: the insert button is offered beside it.
    runFrames(1);
    if (game.offeredSlot != slot) {
        ADD_FAILURE() << "stall " << slot << " offered no insert button";
        return false;
    }
    pressInsertButtonOf(slot);
    runFrames(1);
    releasePointer();
    runFrames(1);
    return !game.carrying && game.carriedFruit == kNoFruit;
}

bool MatchDriver::insert(int32_t fruit, int32_t slot) { return carryFruit(fruit) && deliverTo(slot); }

void MatchDriver::answerRotation(int32_t kind) {
    const sf::Vector2i centre = centreOf(kRotationButtonPositions[kind], kButtonWidth, kButtonHeight);
    pressAt(centre.x, centre.y);
    runFrames(1);
    releasePointer();
}

void MatchDriver::clickPlayAgain() {
    const sf::Vector2i centre = centreOf(kPlayAgainButtonPosition, kButtonWidth, kButtonHeight);
    pressAt(centre.x, centre.y);
    runFrames(1);
}

void MatchDriver::silenceEffects() {
    game.pickFruitSound.stop();
    game.placeInTreeSound.stop();
    game.throwInBinSound.stop();
    game.lostSound.stop();
    game.wonSound.stop();
}

sf::Image MatchDriver::capture() {
    // The frame just presented is still in the window's buffer: the driver of this
    // virtual display keeps it after display().
    const sf::Vector2u size = game.window.getSize();
    sf::Texture copy;
    copy.create(size.x, size.y);
    copy.update(game.window);
    return copy.copyToImage();
}

::testing::AssertionResult MatchDriver::showsOnTop(const sf::Image& shot, const sf::Sprite& sprite,
                                                   std::initializer_list<sf::IntRect> except) {
    // Draw the sprite alone, the same way the game does, and compare its opaque pixels.
    const sf::Vector2u size = shot.getSize();
    sf::RenderTexture alone;
    alone.create(size.x, size.y);
    alone.clear(sf::Color::Transparent);
    alone.draw(sprite);
    alone.display();
    const sf::Image expected = alone.getTexture().copyToImage();

    int compared = 0;
    int differing = 0;
    sf::Vector2u firstDifference;
    for (unsigned y = 0; y < size.y; ++y) {
        for (unsigned x = 0; x < size.x; ++x) {
            const sf::Color want = expected.getPixel(x, y);
            bool excluded = want.a != 255;
            for (const sf::IntRect& area : except) {
                excluded = excluded || area.contains(static_cast<int>(x), static_cast<int>(y));
            }
            if (excluded) {
                continue;
            }
            ++compared;
            const sf::Color got = shot.getPixel(x, y);
            if (std::abs(got.r - want.r) > kColourTolerance || std::abs(got.g - want.g) > kColourTolerance ||
                std::abs(got.b - want.b) > kColourTolerance) {
                if (differing == 0) {
                    firstDifference = sf::Vector2u(x, y);
                }
                ++differing;
            }
        }
    }
    if (compared == 0) {
        return ::testing::AssertionFailure() << "the sprite has no opaque pixel on screen";
    }
    if (differing != 0) {
        return ::testing::AssertionFailure()
               << differing << " of " << compared << " opaque pixels differ, the first at ("
               << firstDifference.x << ", " << firstDifference.y << ")";
    }
    return ::testing::AssertionSuccess() << compared << " opaque pixels shown";
}
