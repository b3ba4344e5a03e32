"""End-to-end runs of the game binary: real window, real pointer and keys, judged
by screenshots against the game's own pictures.

    e2e.py BINARY SCENARIO [--assets FOLDER]

FOLDER (default: the project root) holds Imagens/ and Sons/; the game runs with it
as its working directory, as a player would start it.
"""
import argparse
import os
import random
import sys
import time

import jogo_screen as js
from jogo_screen import check

PROJECT_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# Longest a time-out match can take: 90 s of play plus slack for a slow machine.
MATCH_TIMEOUT_SECONDS = 150.0
# Walking is 180 pixels per second; a third of a second gives a clear step.
WALK_HOLD_SECONDS = 0.3
WALK_MIN_STEP = 20
CHARACTER_BOX = (int(47.3), int(63.8))


def centre(position, size=js.BUTTON_SIZE):
    return position[0] + size[0] // 2, position[1] + size[1] // 2


def start(binary, folder, artifacts):
    """Starts the game and finds its window. A game that could not even connect to
    the display (another virtual display starting on the same number at the same
    moment) is started once more; every other early end is a failure."""
    game = js.Session(binary, folder, artifacts)
    try:
        return game.find_window()
    except js.TestFailure:
        if 'Failed to open X11 display' not in game.error_output():
            game.close()
            raise
        game.close()
        print('the game could not reach the display; starting it once more')
        return js.Session(binary, folder, artifacts).find_window()


def need_art(art):
    missing = art.missing()
    check(not missing, 'these tests compare the screen with the game pictures, and %s lacks: %s'
          % (os.path.join(art.folder, 'Imagens'), ', '.join(missing)))


def hover_differs(art, sheet):
    rest = art.button(sheet, js.BUTTON_REST_TOP).tobytes()
    hover = art.button(sheet, js.BUTTON_HOVER_TOP).tobytes()
    check(rest != hover, '%s: the hover frame looks like the rest frame, so pointing at the '
          'button cannot be seen' % sheet)


def enter_play(game, art):
    """From the menu, clicks play and waits for the first second of the match."""
    scene = js.scene_picture(art, 90)
    lanes_and_character = js.box_mask((0, 0, js.LANE_AREA_RIGHT, js.WINDOW_SIZE[1]))
    mask = js.ImageChops.subtract(js.box_mask((0, 0) + js.WINDOW_SIZE), lanes_and_character)
    expected = scene.rgb()
    game.click(*centre(js.MENU_BUTTONS['play']),
               until=lambda shot: js.shows(shot, expected, mask, [js.TIMER_BOX]),
               what='the play scene showing 90 seconds left')
    return scene, mask


# ---------------------------------------------------------------- scenarios

def scenario_menu(binary, folder, artifacts):
    """Start-up shows the menu; pointing at each button shows its hover frame;
    Escape on the menu ends the game with status 0."""
    art = js.Art(folder)
    need_art(art)
    game = start(binary, folder, artifacts)
    try:
        game.wait_for_picture(js.menu_picture(art), 'the menu with three buttons at rest',
                              focus=js.MENU_BUTTON_BOXES)
        for name in ('play', 'instructions', 'quit'):
            hover_differs(art, js.MENU_BUTTON_SHEETS[name])
            game.point(*centre(js.MENU_BUTTONS[name]))
            game.wait_for_picture(js.menu_picture(art, hover=name),
                                  'the %s button in its hover frame' % name,
                                  focus=js.MENU_BUTTON_BOXES)
        # Off every button again: all three back at rest.
        game.point(600, 500)
        game.wait_for_picture(js.menu_picture(art), 'the menu buttons back at rest',
                              focus=js.MENU_BUTTON_BOXES)
        game.tap('Escape')
        game.expect_clean_exit()
    finally:
        game.close()


def scenario_instructions(binary, folder, artifacts):
    """Instructions and back; Escape on the instructions screen ends with status 0."""
    art = js.Art(folder)
    need_art(art)
    game = start(binary, folder, artifacts)
    try:
        game.wait_for_picture(js.menu_picture(art), 'the menu')
        instructions = js.instructions_picture(art)
        back_box = js.box_at(js.BACK_BUTTON, js.BUTTON_SIZE)
        game.click(*centre(js.MENU_BUTTONS['instructions']),
                   until=lambda s: js.shows(s, instructions.rgb(), focus=[back_box]),
                   what='the instructions screen')
        # The pointer left on the instructions button's place is over nothing here.
        game.wait_for_picture(instructions, 'the instructions screen after the release',
                              focus=[back_box])
        menu = js.menu_picture(art)
        game.click(*centre(js.BACK_BUTTON),
                   until=lambda s: js.shows(s, menu.rgb(), focus=js.MENU_BUTTON_BOXES),
                   what='the menu after the back button')
        game.wait_for_picture(menu, 'the menu after the back button was released',
                              focus=js.MENU_BUTTON_BOXES)
        # And into the instructions once more, to leave from there with Escape.
        game.click(*centre(js.MENU_BUTTONS['instructions']),
                   until=lambda s: js.shows(s, instructions.rgb(), focus=[back_box]),
                   what='the instructions screen again')
        game.tap('Escape')
        game.expect_clean_exit()
    finally:
        game.close()


def scenario_play(binary, folder, artifacts):
    """Play shows the scene with 90 seconds on the timer, then 89; Escape in a
    match ends with status 0."""
    art = js.Art(folder)
    need_art(art)
    game = start(binary, folder, artifacts)
    try:
        game.wait_for_picture(js.menu_picture(art), 'the menu')
        _, mask = enter_play(game, art)
        game.point(600, 580)
        game.wait_for_picture(js.scene_picture(art, 89), 'the timer at 89 seconds left',
                              mask=mask, focus=[js.TIMER_BOX], timeout=5.0)
        game.tap('Escape')
        game.expect_clean_exit()
    finally:
        game.close()


def character_columns(shot, scene, rows):
    """Horizontal extent of what differs from the still scene in a band of rows,
    right of the lanes' reach or inside it; the character is the only thing there
    in the first seconds of a match (the fruits are still high up)."""
    return js.differing_box(shot, scene.rgb(), (0, rows[0], js.WINDOW_SIZE[0], rows[1]))


def scenario_walk(binary, folder, artifacts):
    """A held arrow key moves the character: the screen changes where it stands."""
    art = js.Art(folder)
    need_art(art)
    game = start(binary, folder, artifacts)
    try:
        game.wait_for_picture(js.menu_picture(art), 'the menu')
        enter_play(game, art)
        game.point(600, 580)
        still = js.scene_picture(art, 90)
        # Without the timer: it counts down meanwhile.
        band = (js.CHARACTER_START[1], js.CHARACTER_START[1] + CHARACTER_BOX[1])
        before = character_columns(game.shot(), still, band)
        # The picture may have clear margins, so what differs lies inside its box.
        check(before is not None and before[0] >= js.CHARACTER_START[0] - 1
              and before[2] <= js.CHARACTER_START[0] + CHARACTER_BOX[0] + 1,
              'the character is not at its start (105, 400): what differs from the scene '
              'in its rows is %r' % (before,))

        game.key_down('Right')
        try:
            moved = game.wait_for(
                lambda s: (character_columns(s, still, band) or (0, 0, 0, 0))[0]
                >= js.CHARACTER_START[0] + WALK_MIN_STEP,
                'the character to walk right')
        finally:
            time.sleep(WALK_HOLD_SECONDS)
            game.key_up('Right')
        # Standing again shows the same picture as at the start, further right.
        time.sleep(0.2)
        after = character_columns(game.shot(), still, band)
        check(after[0] > before[0] and abs((after[2] - after[0]) - (before[2] - before[0])) <= 3,
              'walking right: the character went from %r to %r' % (before, after))
        # The place it left shows the scene again.
        start_box = (before[0], band[0], before[0] + WALK_MIN_STEP, band[1])
        check(js.mismatch(game.shot(), still.rgb(), js.box_mask(start_box)) <= 0.01,
              'the place the character left does not show the scene again')

        x0 = after[0]
        game.key_down('Down')
        try:
            game.wait_for(
                lambda s: (character_columns(s, still, (band[1], band[1] + 60)) is not None),
                'the character to walk down')
        finally:
            game.key_up('Down')
        below = character_columns(game.shot(), still, (band[1], band[1] + 60))
        check(abs(below[0] - x0) <= 3,
              'walking down also moved the character sideways: %r then %r' % (after, below))
        game.tap('Escape')
        game.expect_clean_exit()
    finally:
        game.close()


def scenario_quit(binary, folder, artifacts):
    """The quit button ends the game with status 0."""
    art = js.Art(folder)
    need_art(art)
    game = start(binary, folder, artifacts)
    try:
        game.wait_for_picture(js.menu_picture(art), 'the menu')
        game.point(*centre(js.MENU_BUTTONS['quit']))
        game.press_button()
        try:
            code = game.wait_exit()
        finally:
            game.release_button()
        check(code == 0, 'quit ended the game with status %d' % code)
        game.expect_clean_exit()
    finally:
        game.close()


def scenario_full_match(binary, folder, artifacts):
    """A match left alone runs out its 90 seconds and shows the time-out picture;
    play-again leads back to the menu, from which a second match starts."""
    art = js.Art(folder)
    need_art(art)
    game = start(binary, folder, artifacts)
    try:
        game.wait_for_picture(js.menu_picture(art), 'the menu')
        _, mask = enter_play(game, art)
        game.point(790, 590)
        started = time.monotonic()
        timed_out = js.end_picture(art, 'PerdeuTempo.png')
        button = [js.box_at(js.PLAY_AGAIN_BUTTON, js.BUTTON_SIZE)]
        game.wait_for_picture(timed_out, 'the time-out picture', mask=timed_out.known,
                              focus=button, timeout=MATCH_TIMEOUT_SECONDS)
        elapsed = time.monotonic() - started
        check(88.0 <= elapsed, 'the match ended after %.1f s, before its 90 seconds' % elapsed)
        # It stays: the end screen has no time limit.
        time.sleep(1.0)
        game.wait_for_picture(timed_out, 'the time-out picture a second later',
                              mask=timed_out.known, focus=button, timeout=2.0)
        menu = js.menu_picture(art)
        game.click(*centre(js.PLAY_AGAIN_BUTTON),
                   until=lambda s: js.shows(s, menu.rgb(), focus=js.MENU_BUTTON_BOXES),
                   what='the menu after play-again')
        game.wait_for_picture(menu, 'the menu at rest after play-again',
                              focus=js.MENU_BUTTON_BOXES)
        enter_play(game, art)
        game.point(600, 580)
        game.wait_for_picture(js.scene_picture(art, 89), 'the second match counting down',
                              mask=mask, focus=[js.TIMER_BOX], timeout=5.0)
        game.tap('Escape')
        game.expect_clean_exit()
    finally:
        game.close()


def scenario_end_screen_escape(binary, folder, artifacts):
    """Escape on an end screen (the time-out) ends the game with status 0."""
    art = js.Art(folder)
    need_art(art)
    game = start(binary, folder, artifacts)
    try:
        game.wait_for_picture(js.menu_picture(art), 'the menu')
        enter_play(game, art)
        game.point(790, 590)
        timed_out = js.end_picture(art, 'PerdeuTempo.png')
        game.wait_for_picture(timed_out, 'the time-out picture', mask=timed_out.known,
                              focus=[js.box_at(js.PLAY_AGAIN_BUTTON, js.BUTTON_SIZE)],
                              timeout=MATCH_TIMEOUT_SECONDS)
        game.tap('Escape')
        game.expect_clean_exit()
    finally:
        game.close()


# -- missing and broken pictures and sounds

def corrupt_copy(folder, source_folder):
    """Writes every picture and sound name with broken contents: some cut short
    (the real file's first part, or a bare header), some random bytes, some empty."""
    rng = random.Random(37)
    os.makedirs(os.path.join(folder, 'Imagens'))
    os.makedirs(os.path.join(folder, 'Sons'))
    names = ([('Imagens', n) for n in js.PICTURE_NAMES] + [('Sons', n) for n in js.SOUND_NAMES])
    for index, (sub, name) in enumerate(names):
        real = os.path.join(source_folder, sub, name)
        kind = index % 4
        if kind == 0 and os.path.isfile(real):
            with open(real, 'rb') as f:
                data = f.read()
            data = data[:max(8, len(data) // 3)]
        elif kind in (0, 1):
            # A header that promises far more than follows.
            data = (b'\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x03\x20\x00\x00\x02\x58'
                    if sub == 'Imagens' else
                    b'RIFF\xff\xff\xff\x7fWAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00'
                    b'\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00data\xff\xff\xff\x7f')
            data += bytes(rng.randrange(256) for _ in range(200))
        elif kind == 2:
            data = bytes(rng.randrange(256) for _ in range(4096))
        else:
            data = b''
        with open(os.path.join(folder, sub, name), 'wb') as f:
            f.write(data)
    check(len(os.listdir(os.path.join(folder, 'Imagens'))) == 31
          and len(os.listdir(os.path.join(folder, 'Sons'))) == 6, 'the broken copy lacks names')


def drive_without_pictures(binary, folder, artifacts):
    """With no usable picture the screens are empty, but the game opens its window,
    answers where its buttons are, plays, and ends on Escape with status 0."""
    game = start(binary, folder, artifacts)
    try:
        menu_buttons = [p + (p[0] + js.BUTTON_SIZE[0], p[1] + js.BUTTON_SIZE[1])
                        for p in js.MENU_BUTTONS.values()]
        black = js.Image.new('RGB', js.WINDOW_SIZE, (0, 0, 0))

        def black_outside(boxes):
            mask = js.box_mask((0, 0) + js.WINDOW_SIZE)
            for box in boxes:
                mask.paste(0, box)
            return mask

        # The menu: nothing but (at most) its three button places.
        menu_mask = black_outside(menu_buttons)
        game.wait_for(lambda s: js.mismatch(s, black, menu_mask) == 0, 'an empty menu')
        # Instructions and back, by where the buttons are.
        back = js.BACK_BUTTON + (js.BACK_BUTTON[0] + 201, js.BACK_BUTTON[1] + 71)
        game.click(*centre(js.MENU_BUTTONS['instructions']), until=None)
        game.wait_for(lambda s: js.mismatch(s, black, black_outside([back])) == 0,
                      'an empty instructions screen')
        game.click(*centre(js.BACK_BUTTON), until=None)
        game.wait_for(lambda s: js.mismatch(s, black, menu_mask) == 0, 'the empty menu again')
        # A match: the keys are read, the frames keep coming, nothing breaks.
        game.click(*centre(js.MENU_BUTTONS['play']), until=None)
        game.point(600, 580)
        for key in ('Right', 'Down', 'Left', 'Up'):
            game.key_down(key)
            time.sleep(0.3)
            game.key_up(key)
        time.sleep(1.0)
        game.expect_running('during a match without pictures')
        game.tap('Escape')
        game.expect_clean_exit()
    finally:
        game.close()


def scenario_empty_folder(binary, folder, artifacts):
    empty = js.scratch_folder('jogo-empty-')
    try:
        drive_without_pictures(binary, empty, artifacts)
    finally:
        js.remove_folder(empty)


def scenario_corrupt_files(binary, folder, artifacts):
    broken = js.scratch_folder('jogo-broken-')
    try:
        corrupt_copy(broken, folder)
        drive_without_pictures(binary, broken, artifacts)
    finally:
        js.remove_folder(broken)


SCENARIOS = {
    'menu': scenario_menu,
    'instructions': scenario_instructions,
    'play': scenario_play,
    'walk': scenario_walk,
    'quit': scenario_quit,
    'full_match': scenario_full_match,
    'end_screen_escape': scenario_end_screen_escape,
    'empty_folder': scenario_empty_folder,
    'corrupt_files': scenario_corrupt_files,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('binary')
    parser.add_argument('scenario', choices=sorted(SCENARIOS))
    parser.add_argument('--assets', default=PROJECT_ROOT)
    parser.add_argument('--artifacts', default=None)
    args = parser.parse_args()
    check(os.environ.get('DISPLAY'), 'no DISPLAY: run under xvfb-run')
    artifacts = args.artifacts or js.scratch_folder('jogo-e2e-%s-' % args.scenario)
    os.makedirs(artifacts, exist_ok=True)
    began = time.monotonic()
    try:
        SCENARIOS[args.scenario](os.path.abspath(args.binary), os.path.abspath(args.assets),
                                 artifacts)
    except js.TestFailure as failure:
        print('FAILED %s: %s' % (args.scenario, failure))
        print('(screens and error output kept in %s)' % artifacts)
        return 1
    print('passed %s in %.1f s' % (args.scenario, time.monotonic() - began))
    js.remove_folder(artifacts)
    return 0


if __name__ == '__main__':
    sys.exit(main())
