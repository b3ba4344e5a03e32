// A turn of a match: SFML's presses and held keys become the match's intents here
// and nowhere else, the match takes one step, and what the step returned is heard
// (its sounds), written down (its history lines, a won match's time) and drawn.
#include <algorithm>
#include <iterator>

#include "app/best_time.hpp"
#include "app/game.hpp"

namespace {

// Rotation buttons in the order they stand, top to bottom, each with the kind it
// names and the number key that presses it (shown on the button), on the top row
// or on the keypad.
struct RotationButton {
    sf::Sprite Pictures::*sprite;
    int32_t kind;
    sf::Keyboard::Key key;
    sf::Keyboard::Key keypadKey;
};

const RotationButton kRotationButtons[] = {
    {&Pictures::rotateRightButtonSprite, RotationKind::SingleRight, sf::Keyboard::Num1, sf::Keyboard::Numpad1},
    {&Pictures::doubleRotateRightButtonSprite, RotationKind::DoubleRight, sf::Keyboard::Num2, sf::Keyboard::Numpad2},
    {&Pictures::rotateLeftButtonSprite, RotationKind::SingleLeft, sf::Keyboard::Num3, sf::Keyboard::Numpad3},
    {&Pictures::doubleRotateLeftButtonSprite, RotationKind::DoubleLeft, sf::Keyboard::Num4, sf::Keyboard::Numpad4},
};

// Only the first held arrow counts, in this order.
const std::pair<sf::Keyboard::Key, Direction> kArrows[] = {
    {sf::Keyboard::Left, Direction::Left},
    {sf::Keyboard::Right, Direction::Right},
    {sf::Keyboard::Up, Direction::Up},
    {sf::Keyboard::Down, Direction::Down},
};

}  // namespace

void Game::playFrame() {
    keepMusicPlaying();
    if (match.starting) {
        matchStartTime = std::time(nullptr);
    }
    const float seconds = stepSeconds();
    const Intents intents = readIntents();
    const StepResult result = step(match, seconds, intents);
    keepJournal(result);
    hear(result);
    if (result.toMenu) {
        // The menu is as quiet as it was before the match.
        sounds.music.stop();
        restartRequested = true;
    }
    drawMatch();
    present();
}

float Game::stepSeconds() { return fixedStepSeconds > 0 ? fixedStepSeconds : stepClock.restart().asSeconds(); }

Intents Game::readIntents() {
    Intents intents;
    // The live state is the whole keyboard's, so the arrows walk only while the
    // game's window has the keyboard: someone typing elsewhere walks nobody.
    const bool focused = window.hasFocus();
    for (const auto& [key, direction] : kArrows) {
        if (focused && intents.walk == Direction::None && sf::Keyboard::isKeyPressed(key)) {
            intents.walk = direction;
        }
    }
    const bool card = match.phase == Phase::Card;
    // Enter inserts, but under a card it answers the card. The insert button only
    // answers where it is drawn, beside a free stall.
    const bool keyed = !card && (keyWasPressed(sf::Keyboard::Return) || keyWasPressed(sf::Keyboard::Space));
    intents.insert = match.offeredSlot != TreeSlot::None && (updateSmallButton(pictures.insertButtonSprite) || keyed);
    if (match.phase == Phase::Question) {
        // Every button shows its frame; the first press of the turn that names a
        // rotation, by click or by key, is the answer.
        for (const RotationButton& button : kRotationButtons) {
            updateButton(pictures.*button.sprite);
        }
        for (const sf::Event& event : turnEvents) {
            for (const RotationButton& button : kRotationButtons) {
                const bool keyed = event.type == sf::Event::KeyPressed &&
                                   (event.key.code == button.key || event.key.code == button.keypadKey);
                const bool clicked = event.type == sf::Event::MouseButtonPressed &&
                                     event.mouseButton.button == sf::Mouse::Left &&
                                     isOver(pictures.*button.sprite, {event.mouseButton.x, event.mouseButton.y});
                if ((keyed || clicked) && intents.rotation == RotationKind::None) {
                    intents.rotation = button.kind;
                }
            }
        }
    }
    if (match.phase == Phase::Where) {
        readWhere(intents, keyed);
    }
    intents.confirm = card && (updateButton(cardButton()) || keyWasPressed(sf::Keyboard::Return));
    intents.toggleBadges = keyWasPressed(sf::Keyboard::H);
    // Under an end card the corner button is hidden, but Backspace still leads to
    // the menu.
    intents.leave = keyWasPressed(sf::Keyboard::BackSpace) ||
                    (!match.hasOutcome() && updateSmallButton(pictures.leaveButtonSprite));
    return intents;
}

void Game::readWhere(Intents& intents, bool keyed) {
    // Enter or Space answers with the stall the highlight is on; each press of Up
    // or Down moves it a stall along the path; a click on a stall answers with it.
    intents.choose = keyed;
    for (const sf::Event& event : turnEvents) {
        if (event.type == sf::Event::KeyPressed) {
            intents.highlightMove += event.key.code == sf::Keyboard::Up ? -1 : event.key.code == sf::Keyboard::Down;
        }
        const bool click = event.type == sf::Event::MouseButtonPressed && event.mouseButton.button == sf::Mouse::Left;
        for (int32_t stall = 0; click && intents.pointedStall == TreeSlot::None && stall < match.stallCount();
             ++stall) {
            if (isOver(pictures.bigStallSprites[stall], {event.mouseButton.x, event.mouseButton.y})) {
                intents.pointedStall = stall;
            }
        }
    }
}

sf::Sprite& Game::rotationButton(int32_t kind) {
    for (const RotationButton& button : kRotationButtons) {
        if (button.kind == kind) {
            return pictures.*button.sprite;
        }
    }
    return pictures.rotateRightButtonSprite;
}

sf::Sprite& Game::cardButton() {
    const bool correction = match.practice && !match.won;
    return correction ? pictures.tryAgainButtonSprite : pictures.playAgainButtonSprite;
}

void Game::keepMusicPlaying() {
    // A stream that played to its end does not rewind by itself: stopping it first
    // puts it back at its beginning, so the next play is heard from the start.
    // A track that failed to open stays silent without asking the library for it
    // (and reading its complaint) on every frame. Muting paused it: it goes on
    // from there.
    sf::Music& music = sounds.music;
    const bool opened = music.getDuration() > sf::Time::Zero;
    if (!opened || muted || match.hasOutcome()) {
        return;
    }
    if (music.getStatus() == sf::SoundSource::Stopped) {
        music.stop();
        music.play();
    } else if (music.getStatus() == sf::SoundSource::Paused) {
        music.play();
    }
}

void Game::hear(const StepResult& result) {
    if (result.musicStops) {
        sounds.music.stop();
    }
    for (const Sound sound : result.sounds) {
        playEffect(sounds.effect(sound));
    }
}

void Game::keepJournal(const StepResult& result) {
    // The history is the student's own file; one that cannot be written costs the
    // game nothing (appendHistory says so once, on standard error).
    for (const Judged& judged : result.judged) {
        HistoryEntry entry;
        entry.time = std::time(nullptr);
        entry.matchStart = matchStartTime;
        entry.practice = match.practice;
        entry.event = judged.event;
        entry.fruit = judged.fruit;
        entry.chosen = judged.chosen;
        entry.expected = judged.expected;
        entry.correct = judged.correct;
        entry.seconds = judged.seconds;
        entry.stalls = match.stallCount();
        appendHistory(entry);
    }
    if (result.won) {
        keepBestTime();
    }
}
