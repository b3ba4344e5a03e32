// The life of the program: construction with the start values of a match, the
// main loop with its screen priority, the event poll, and the restart that leads
// from an end screen back to the menu.
#include "app/game.hpp"

#include <cstdlib>
#include <ctime>

#include "assets/language.hpp"
#include "assets/layout.hpp"

namespace {

const sf::Time kMenuPause = sf::milliseconds(100);

}  // namespace

Game::Game() : frameDelay(kMenuPause) {
    language = Language::Portuguese;  // the game's own, until the pictures load
    resultsBestSeconds = -1;
    fullScreen = false;
    muted = false;
    frameLimit = 60;
    // The first frame of every match puts each lane at its start (matchStarting);
    // until then they only need a value.
    for (sf::Vector2f& position : lanePositions) {
        position = sf::Vector2f(0, 0);
    }
    initTree(&balancedRoot);
    initTree(&playerRoot);
    initTree(&balancedBefore);
    initTree(&playerBefore);
    resetMatch();
}

Game::~Game() {
    // A game whose window never closed still holds its trees (an empty tree frees
    // nothing).
    destroyTree(&balancedRoot);
    destroyTree(&playerRoot);
    destroyTree(&balancedBefore);
    destroyTree(&playerBefore);
}

void Game::run() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    openWindow();
    loadTextures();
    loadSounds();

    while (window.isOpen()) {
        loopTurn();
    }
}

void Game::loopTurn() {
    pollEvents();
    // A turn that quits acts on nothing: a delivery clicked on the frame before is
    // neither judged nor written down once the player asked to leave.
    if (!window.isOpen()) {
        return;
    }
    // The order is the priority: a pending restart wins over every screen flag
    // (playActive is still set on the end screen); the presses that came while it
    // ran wait for the menu.
    if (restartRequested != 0) {
        sf::sleep(frameDelay);
        resetMatch();
    } else if (menuActive || instructionsActive || resultsActive) {
        showOtherScreen();
    } else if (playActive) {
        // A frame of a match takes every press of the turn at once: two keys pressed
        // together (a rotation's number, then Enter) both act.
        turnEvents.swap(input);
        input.clear();
        playFrame();
        turnEvents.clear();
    }
}

void Game::openWindow() {
    // The desktop's own mode: the screen keeps its resolution, so leaving full
    // screen changes nothing for the other programs. Without a window manager it
    // still covers the screen from its top-left corner.
    if (fullScreen) {
        window.create(sf::VideoMode::getDesktopMode(), "Jogo", sf::Style::Fullscreen, sf::ContextSettings());
    } else {
        window.create(sf::VideoMode(800, 600, 32), "Jogo", sf::Style::None, sf::ContextSettings());
    }
    // A new window starts with the library's defaults: each setting is made again.
    window.setFramerateLimit(frameLimit);
    // Walking reads the held arrows directly; a repeated press would only push a
    // key that acts once (Enter, Space, 1 to 4) out of its turn.
    window.setKeyRepeatEnabled(false);
    window.setView(letterboxView(window.getSize()));
}

void Game::pollEvents() {
    // Only presses are kept: a release or a move changes nothing a screen decides,
    // and the buttons' frames read the pointer as it is. Each press acts once, on
    // the screen of the turn that takes it.
    sf::Event event;
    while (window.isOpen() && window.pollEvent(event)) {
        const bool keyPressed = event.type == sf::Event::KeyPressed;
        if (event.type == sf::Event::Closed || (keyPressed && event.key.code == sf::Keyboard::Escape)) {
            destroyTree(&balancedRoot);
            destroyTree(&playerRoot);
            destroyTree(&balancedBefore);
            destroyTree(&playerBefore);
            input.clear();
            window.close();
        } else if (keyPressed && event.key.code == sf::Keyboard::F11) {
            // Both act at once on every screen; the rest of the events come from the
            // window as it is afterwards.
            toggleFullScreen();
        } else if (keyPressed && event.key.code == sf::Keyboard::M) {
            toggleMute();
        } else if (keyPressed || event.type == sf::Event::MouseButtonPressed) {
            input.push_back(event);
        }
    }
}

void Game::resetMatch() {
    // Kept across matches on purpose: the music goes on where it was (the next
    // match's first frame plays it, or it waits while muted), and the lanes are
    // placed anew by that first frame.
    for (int32_t fruit = 0; fruit < kFruitCount; ++fruit) {
        laneFruitSprites[fruit].setPosition(kFruitParking);
        treeFruitSprites[fruit].setPosition(kFruitParking);
        carriedFruitSprites[fruit].setPosition(kCarriedFruitPosition);
    }
    characterSprite.setPosition(kCharacterStart);
    menuActive = true;
    instructionsActive = false;
    resultsActive = false;
    playActive = false;
    restartRequested = 0;
    matchStartTime = 0;
    walkFrame = 0;
    facing = Facing::Right;
    frameSeconds = 0;
    matchStarting = true;
    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        laneFruit[lane] = kNoFruit;
        laneTaken[lane] = false;
    }
    carrying = false;
    carriedFruit = kNoFruit;
    carriedPayload = 0;
    pickedLane = -1;
    currentSlot = TreeSlot::None;
    offeredSlot = TreeSlot::None;
    insertRequested = false;
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        slotFilled[slot] = false;
        slotFruit[slot] = kNoFruit;
    }
    pendingRotation = RotationKind::None;
    movementEnabled = true;
    lossCause = LossCause::None;
    matchWon = 0;
    shownSeconds = 0;
    deliveredFruit = kNoFruit;
    deliveredSlot = TreeSlot::None;
    rightRotation = RotationKind::None;
    deadEnd = DeadEnd();
    wonSeconds = 0;
    bestSeconds = -1;
    newRecord = false;
    stallsMoving = false;
    stallAnimationSeconds = 0;
    for (int32_t& fruit : stallFruitsBefore) {
        fruit = kNoFruit;
    }
    practicing = false;
    balanceShown = false;
    for (int32_t& count : practiceMistakes) {
        count = 0;
    }
    // Whatever a match left behind, or nothing.
    destroyTree(&balancedRoot);
    destroyTree(&playerRoot);
    destroyTree(&balancedBefore);
    destroyTree(&playerBefore);
}
