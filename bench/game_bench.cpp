// Measures the game itself:
//   game_bench frame N         mean time of one Game::playFrame at a busy moment,
//                              with no frame limit, over N frames (after a warm-up)
//   game_bench frame15 N       the same in the big market, the question of where up
//   game_bench startup T0_NS   time from T0 (CLOCK_MONOTONIC, taken by the caller
//                              just before it started this process) to the first
//                              menu frame displayed, doing what main and Game::run
//                              do; also the share spent loading the pictures and,
//                              separately, decoding them alone.
// Prints one line of "name=value" pairs.
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/game.hpp"
#include "busy_scene.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double monotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

const char* const kPictures[] = {
    "TelaMenu.png", "BotaoJogar.png", "BotaoInstrucoes.png", "BotaoSair.png", "Instrucoes.png",
    "BotaoVoltar.png", "TelaJogo.png", "Personagem.png", "Frutas.png",
    "Barraca0.png", "Barraca1.png", "Barraca2.png", "Barraca3.png",
    "Barraca4.png", "Barraca5.png", "Barraca6.png", "BotaoInserirFruta.png", "BotaoMenu.png", "AvisoRotacao.png",
    "BotaoRotacaoDireita.png", "BotaoRotacaoDuplaDireita.png", "BotaoRotacaoEsquerda.png",
    "BotaoRotacaoDuplaEsquerda.png", "PerdeuPosicao.png", "PerdeuRotacao.png", "PerdeuChave.png",
    "PerdeuTempo.png", "PerdeuSemSaida.png", "Ganhou.png", "BotaoJogarNovamente.png", "Tempo.png",
    "Legendas.png", "BotaoPraticar.png", "BotaoResultados.png", "PraticaTitulos.png", "PraticaCompleta.png",
    "BotaoTentarDeNovo.png", "SemRelogio.png", "Fatores.png", "Algarismos.png", "TelaResultados.png",
    "ResultadosVazio.png", "Barras.png", "Marcas.png", "SemSom.png"};

// Puts the match in the busy moment: the question after a rotation stays up
// (the trees differ and a rotation is pending), so judging keeps asking and
// nothing ends the match while the frames are timed.
void makeBusy(Game& game) {
    game.startMatch(false);
    game.playFrame();  // the match's first frame: clock, lanes, music
    for (int32_t lane = 0; lane < game.match.market->laneCount; ++lane) {
        game.match.lanes[lane] = {busy::kLaneFruits[lane], {busy::kLaneX[lane],
                                  busy::kFirstLaneY + lane * busy::kLaneSpacingY}, false};
    }
    int32_t kind = RotationKind::None;
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        const int32_t fruit = busy::kSlotFruits[slot];
        game.match.stallFruits[slot] = fruit;
        insertBalanced(&game.match.reference.root, fruit, 0, kind);
        if (slot + 1 < kStallCount) {
            placeAtSlot(&game.match.player.root, fruit, 0, slot);
        }
    }
    game.match.pendingRotation = RotationKind::SingleRight;
    game.match.phase = Phase::Question;
}

// The big market's busy moment: every stall filled, the question of where asked
// after the last fruit and never answered while the frames are timed.
void makeBigBusy(Game& game) {
    game.chooseMarket(TreeSlot::FourLevelCount);
    game.startMatch(false);
    game.playFrame();
    for (int32_t lane = 0; lane < game.match.market->laneCount; ++lane) {
        game.match.lanes[lane] = {busy::kLaneFruits[lane], {busy::kLaneX[lane],
                                  busy::kFirstLaneY + lane * busy::kLaneSpacingY}, false};
    }
    for (int32_t slot = 0; slot < TreeSlot::FourLevelCount; ++slot) {
        const int32_t fruit = busy::kBigSlotFruits[slot];
        game.match.stallFruits[slot] = fruit;
        int32_t kind = RotationKind::None;
        insertBalanced(&game.match.reference.root, fruit, 0, kind);
        placeAtSlot(&game.match.player.root, fruit, 0, slot);
    }
    game.match.pendingRotation = RotationKind::SingleRight;
    game.match.deliveredSlot = busy::kHighlighted;
    game.match.highlightedSlot = busy::kHighlighted;
    game.match.unbalancedSlot = TreeSlot::Root;
    game.match.phase = Phase::Where;
}

int frameBench(int frames, bool big) {
    auto game = std::make_unique<Game>();
    game->openWindow();
    game->loadTextures();
    game->loadSounds();
    game->window.setFramerateLimit(0);
    game->window.setVerticalSyncEnabled(false);
    if (big) {
        makeBigBusy(*game);
    } else {
        makeBusy(*game);
    }
    const Phase busyPhase = game->match.phase;
    for (int frame = 0; frame < busy::kWarmUpFrames; ++frame) {
        game->playFrame();
    }
    const Clock::time_point start = Clock::now();
    for (int frame = 0; frame < frames; ++frame) {
        game->playFrame();
    }
    const double total = millisecondsSince(start);
    const bool stillBusy = game->match.phase == busyPhase;
    std::printf("frame_us=%.1f frames=%d still_busy=%d\n", total * 1e3 / frames, frames,
                stillBusy ? 1 : 0);
    game->window.close();
    return stillBusy ? 0 : 1;
}

int startupBench(double startedAt) {
    const double entered = monotonicMilliseconds();
    auto game = std::make_unique<Game>();
    game->openWindow();
    const Clock::time_point picturesStart = Clock::now();
    game->loadTextures();
    const double pictures = millisecondsSince(picturesStart);
    game->loadSounds();
    // The first menu frame, without the pause that follows its display.
    game->frameDelay = sf::Time::Zero;
    game->showOtherScreen();
    const double shown = monotonicMilliseconds();

    // Decoding alone, from files now in the page cache: what a faster decoder or
    // smaller pictures could save at most.
    const Clock::time_point decodeStart = Clock::now();
    for (const char* name : kPictures) {
        sf::Image image;
        image.loadFromFile(std::string("Imagens/") + name);
    }
    const double decode = millisecondsSince(decodeStart);
    std::printf("startup_ms=%.1f before_main_ms=%.1f load_pictures_ms=%.1f decode_ms=%.1f\n",
                shown - startedAt, entered - startedAt, pictures, decode);
    game->window.close();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && (std::strcmp(argv[1], "frame") == 0 || std::strcmp(argv[1], "frame15") == 0)) {
        return frameBench(std::atoi(argv[2]), std::strcmp(argv[1], "frame15") == 0);
    }
    if (argc == 3 && std::strcmp(argv[1], "startup") == 0) {
        return startupBench(std::atof(argv[2]) / 1e6);
    }
    std::fprintf(stderr, "usage: game_bench frame N | game_bench frame15 N | game_bench startup T0_NS\n");
    return 2;
}
