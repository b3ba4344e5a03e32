// The button mechanism and the two screens outside a match, driven on a real
// window: the pointer is really moved, the buffered event is set as the event poll
// would leave it. Stand-in button sheets of the right size replace the art.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/game.hpp"
#include "support/fake_input.hpp"
#include "support/scratch_assets.hpp"

namespace {

// Sheets of three frames: 201x71 at tops 0, 74, 142; 102x39 at tops 0, 39, 78.
constexpr unsigned kSheetWidth = 201;
constexpr unsigned kSheetHeight = 213;
constexpr unsigned kSmallSheetWidth = 102;
constexpr unsigned kSmallSheetHeight = 117;

const sf::IntRect kRest(0, 0, 201, 71);
const sf::IntRect kHover(0, 74, 201, 71);
const sf::IntRect kPressed(0, 142, 201, 71);
const sf::IntRect kSmallRest(0, 0, 102, 39);
const sf::IntRect kSmallHover(0, 39, 102, 39);
const sf::IntRect kSmallPressed(0, 78, 102, 39);

// Rectangles no update ever applies, of the frames' sizes so that the mouse test
// sees the same bounds: finding one after an update means it was not applied.
const sf::IntRect kStale(0, 5, 201, 71);
const sf::IntRect kSmallStale(0, 5, 102, 39);

// A value no mouse test can write: the pointer is always inside the window here.
const sf::Vector2i kUntouched(-4321, -4321);

// Where the insert button is put for these tests (the play frame places it by a stall).
const sf::Vector2f kInsertButtonSpot(400, 300);

class Buttons : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"BotaoJogar.png", "BotaoInstrucoes.png", "BotaoSair.png",
                                 "BotaoVoltar.png", "BotaoJogarNovamente.png",
                                 "BotaoRotacaoDireita.png"}) {
            assets.writePicture(name, kSheetWidth, kSheetHeight);
        }
        assets.writePicture("BotaoInserirFruta.png", kSmallSheetWidth, kSmallSheetHeight);
        openGameWindow(game, true);
        game.insertButtonSprite.setPosition(kInsertButtonSpot);
    }

    // The menu's first frame, with no mouse event yet: every button takes its rest frame.
    void showFirstMenuFrame() {
        bufferKeyPress(game, sf::Keyboard::Space);
        game.showMenu();
    }

    ScratchAssetDir assets;
    Game game;
};

// The menu and instructions screens, built from the same buttons.
class Menus : public Buttons {};

TEST_F(Buttons, ButtonWithoutFrameIsNeverUnderTheMouse) {
    // Built with an empty rectangle at load, the play button has no area until its
    // first update.
    movePointer(game, 120, 125);
    EXPECT_FALSE(game.isMouseOver(game.playButtonSprite));
}

TEST_F(Buttons, MouseOverPlayButtonExcludesEveryEdge) {
    bufferKeyPress(game, sf::Keyboard::Space);
    game.updateButton(game.playButtonSprite);
    ASSERT_EQ(game.playButtonSprite.getTextureRect(), kRest);
    ASSERT_EQ(game.playButtonSprite.getPosition(), sf::Vector2f(20, 90));

    struct Point {
        int x;
        int y;
        bool over;
    };
    const std::vector<Point> points = {
        {21, 91, true},    {220, 91, true},   {21, 160, true},  {220, 160, true},
        {120, 125, true},  {20, 125, false},  {221, 125, false}, {120, 90, false},
        {120, 161, false}, {20, 90, false},   {221, 161, false}, {0, 0, false},
    };
    for (const Point& point : points) {
        movePointer(game, point.x, point.y);
        game.mousePosition = kUntouched;
        EXPECT_EQ(game.isMouseOver(game.playButtonSprite), point.over)
            << "at (" << point.x << ", " << point.y << ")";
        EXPECT_EQ(game.mousePosition, sf::Vector2i(point.x, point.y));
    }
}

// One row of the behaviour table: the buffered event, where the pointer is, and
// what the update must do.
struct Row {
    std::string name;
    sf::Event::EventType type;
    sf::Mouse::Button button;  // for press and release only
    bool pointerOver;
    bool mouseTested;
    int expectedFrame;  // 0 rest, 1 hover, 2 pressed
    bool click;
};

const std::vector<Row>& behaviourTable() {
    static const std::vector<Row> rows = {
        {"left press over", sf::Event::MouseButtonPressed, sf::Mouse::Left, true, true, 2, true},
        {"left press off", sf::Event::MouseButtonPressed, sf::Mouse::Left, false, true, 0, false},
        {"right press over", sf::Event::MouseButtonPressed, sf::Mouse::Right, true, false, 0,
         false},
        {"middle press over", sf::Event::MouseButtonPressed, sf::Mouse::Middle, true, false, 0,
         false},
        {"left release over", sf::Event::MouseButtonReleased, sf::Mouse::Left, true, true, 1,
         false},
        {"left release off", sf::Event::MouseButtonReleased, sf::Mouse::Left, false, true, 0,
         false},
        {"right release over", sf::Event::MouseButtonReleased, sf::Mouse::Right, true, false, 0,
         false},
        {"move over", sf::Event::MouseMoved, sf::Mouse::Left, true, true, 1, false},
        {"move off", sf::Event::MouseMoved, sf::Mouse::Left, false, true, 0, false},
        {"key press over", sf::Event::KeyPressed, sf::Mouse::Left, true, false, 0, false},
        {"wheel over", sf::Event::MouseWheelScrolled, sf::Mouse::Left, true, false, 0, false},
        {"focus lost over", sf::Event::LostFocus, sf::Mouse::Left, true, false, 0, false},
        {"mouse entered over", sf::Event::MouseEntered, sf::Mouse::Left, true, false, 0, false},
        {"resized over", sf::Event::Resized, sf::Mouse::Left, true, false, 0, false},
        {"closed over", sf::Event::Closed, sf::Mouse::Left, true, false, 0, false},
    };
    return rows;
}

// Buffers the row's event. Its own coordinates point at the opposite place from the
// pointer: the buttons must follow the live pointer, never the event.
void bufferRowEvent(Game& game, const Row& row, sf::Vector2i eventPoint) {
    switch (row.type) {
    case sf::Event::MouseButtonPressed:
    case sf::Event::MouseButtonReleased:
        bufferMouseButton(game, row.type, row.button, eventPoint.x, eventPoint.y);
        break;
    case sf::Event::MouseMoved:
        bufferMouseMove(game, eventPoint.x, eventPoint.y);
        break;
    case sf::Event::KeyPressed:
        bufferKeyPress(game, sf::Keyboard::Space);
        break;
    default:
        game.event = sf::Event();
        game.event.type = row.type;
        break;
    }
}

struct ButtonKind {
    const char* name;
    bool small;
    sf::IntRect frames[3];
    sf::IntRect stale;
    sf::Vector2i over;
    sf::Vector2i off;
};

void checkBehaviourTable(Game& game, const ButtonKind& kind) {
    sf::Sprite& button = kind.small ? game.insertButtonSprite : game.playButtonSprite;
    for (const Row& row : behaviourTable()) {
        SCOPED_TRACE(std::string(kind.name) + ": " + row.name);
        const sf::Vector2i pointer = row.pointerOver ? kind.over : kind.off;
        const sf::Vector2i eventPoint = row.pointerOver ? kind.off : kind.over;
        movePointer(game, pointer.x, pointer.y);
        bufferRowEvent(game, row, eventPoint);
        button.setTextureRect(kind.stale);
        game.mousePosition = kUntouched;

        const bool click = kind.small ? game.updateSmallButton(button) : game.updateButton(button);

        EXPECT_EQ(click, row.click);
        EXPECT_EQ(button.getTextureRect(), kind.frames[row.expectedFrame]);
        EXPECT_EQ(game.mousePosition, row.mouseTested ? pointer : kUntouched);
    }
}

TEST_F(Buttons, UpdateButtonFollowsTheBehaviourTable) {
    const ButtonKind big{"201x71", false, {kRest, kHover, kPressed}, kStale, {120, 125}, {300, 125}};
    checkBehaviourTable(game, big);
}

TEST_F(Buttons, UpdateSmallButtonFollowsTheBehaviourTable) {
    const ButtonKind small{
        "102x39", true, {kSmallRest, kSmallHover, kSmallPressed}, kSmallStale, {451, 319},
        {600, 319}};
    checkBehaviourTable(game, small);
}

TEST_F(Buttons, HeldPressKeepsReportingUntilTheNextEvent) {
    game.rotateRightButtonSprite.setTextureRect(kRest);
    pressOn(game, game.rotateRightButtonSprite);
    // Callers that stay on screen see the same click on every frame.
    EXPECT_TRUE(game.updateButton(game.rotateRightButtonSprite));
    EXPECT_TRUE(game.updateButton(game.rotateRightButtonSprite));
    bufferMouseButton(game, sf::Event::MouseButtonReleased, sf::Mouse::Left, 0, 0);
    EXPECT_FALSE(game.updateButton(game.rotateRightButtonSprite));
    EXPECT_EQ(game.rotateRightButtonSprite.getTextureRect(), kHover);
}

TEST_F(Buttons, PlayAgainButtonHasItsRestFrameFromLoading) {
    EXPECT_EQ(game.playAgainButtonSprite.getTextureRect(), kRest);
    EXPECT_EQ(game.playButtonSprite.getTextureRect(), sf::IntRect());
}

TEST_F(Menus, FirstMenuFrameGivesEveryButtonItsRestFrame) {
    showFirstMenuFrame();
    EXPECT_EQ(game.playButtonSprite.getTextureRect(), kRest);
    EXPECT_EQ(game.instructionsButtonSprite.getTextureRect(), kRest);
    EXPECT_EQ(game.quitButtonSprite.getTextureRect(), kRest);
    EXPECT_TRUE(game.menuActive);
    EXPECT_FALSE(game.playActive);
    EXPECT_FALSE(game.instructionsActive);
    EXPECT_TRUE(game.window.isOpen());
}

TEST_F(Menus, PlayClickStartsTheMatchAndSkipsTheOtherButtons) {
    showFirstMenuFrame();
    game.instructionsButtonSprite.setTextureRect(kStale);
    game.quitButtonSprite.setTextureRect(kStale);
    pressOn(game, game.playButtonSprite);

    game.showMenu();

    EXPECT_FALSE(game.menuActive);
    EXPECT_TRUE(game.playActive);
    EXPECT_FALSE(game.instructionsActive);
    EXPECT_EQ(game.playButtonSprite.getTextureRect(), kPressed);
    EXPECT_EQ(game.instructionsButtonSprite.getTextureRect(), kStale);
    EXPECT_EQ(game.quitButtonSprite.getTextureRect(), kStale);
    EXPECT_TRUE(game.window.isOpen());
}

TEST_F(Menus, InstructionsClickOpensInstructionsAndSkipsQuit) {
    showFirstMenuFrame();
    game.playButtonSprite.setTextureRect(kStale);
    game.quitButtonSprite.setTextureRect(kStale);
    pressOn(game, game.instructionsButtonSprite);

    game.showMenu();

    EXPECT_FALSE(game.menuActive);
    EXPECT_TRUE(game.instructionsActive);
    EXPECT_FALSE(game.playActive);
    EXPECT_EQ(game.playButtonSprite.getTextureRect(), kRest);
    EXPECT_EQ(game.instructionsButtonSprite.getTextureRect(), kPressed);
    EXPECT_EQ(game.quitButtonSprite.getTextureRect(), kStale);
}

TEST_F(Menus, QuitClickClosesTheWindowAndFinishesTheFrame) {
    showFirstMenuFrame();
    pressOn(game, game.quitButtonSprite);

    // The rest of the frame draws on the closed window: it must come back quietly.
    game.showMenu();

    EXPECT_FALSE(game.window.isOpen());
    EXPECT_TRUE(game.menuActive);
    EXPECT_FALSE(game.playActive);
    EXPECT_FALSE(game.instructionsActive);
    EXPECT_EQ(game.playButtonSprite.getTextureRect(), kRest);
    EXPECT_EQ(game.instructionsButtonSprite.getTextureRect(), kRest);
    EXPECT_EQ(game.quitButtonSprite.getTextureRect(), kPressed);
}

TEST_F(Menus, IgnoresRightClickAndHover) {
    showFirstMenuFrame();
    const sf::Vector2f corner = game.playButtonSprite.getPosition();
    movePointer(game, static_cast<int>(corner.x) + 100, static_cast<int>(corner.y) + 35);
    bufferMouseButton(game, sf::Event::MouseButtonPressed, sf::Mouse::Right, 0, 0);
    game.showMenu();
    EXPECT_TRUE(game.menuActive);
    EXPECT_FALSE(game.playActive);
    EXPECT_EQ(game.playButtonSprite.getTextureRect(), kRest);

    bufferMouseMove(game, 0, 0);
    game.showMenu();
    EXPECT_TRUE(game.menuActive);
    EXPECT_FALSE(game.playActive);
    EXPECT_EQ(game.playButtonSprite.getTextureRect(), kHover);
    EXPECT_EQ(game.quitButtonSprite.getTextureRect(), kRest);
}

TEST_F(Menus, BackButtonReturnsToTheMenuWithoutClickingIt) {
    game.menuActive = false;
    game.instructionsActive = true;
    bufferKeyPress(game, sf::Keyboard::Space);
    game.showInstructions();
    ASSERT_EQ(game.backButtonSprite.getTextureRect(), kRest);
    EXPECT_TRUE(game.instructionsActive);
    EXPECT_FALSE(game.menuActive);

    pressOn(game, game.backButtonSprite);
    game.showInstructions();
    EXPECT_FALSE(game.instructionsActive);
    EXPECT_TRUE(game.menuActive);
    EXPECT_FALSE(game.playActive);
    EXPECT_EQ(game.backButtonSprite.getTextureRect(), kPressed);

    // The press is still the buffered event on the menu's next frame, but no menu
    // button lies under the back button.
    game.showMenu();
    EXPECT_TRUE(game.menuActive);
    EXPECT_FALSE(game.playActive);
    EXPECT_FALSE(game.instructionsActive);
    EXPECT_TRUE(game.window.isOpen());
}

TEST_F(Menus, InstructionsStayWhileNothingIsClicked) {
    game.menuActive = false;
    game.instructionsActive = true;
    const sf::Vector2f corner = game.backButtonSprite.getPosition();
    movePointer(game, static_cast<int>(corner.x) + 100, static_cast<int>(corner.y) + 35);
    bufferMouseButton(game, sf::Event::MouseButtonReleased, sf::Mouse::Left, 0, 0);
    game.backButtonSprite.setTextureRect(kRest);
    game.showInstructions();
    EXPECT_TRUE(game.instructionsActive);
    EXPECT_FALSE(game.menuActive);
    EXPECT_EQ(game.backButtonSprite.getTextureRect(), kHover);
}

}  // namespace
