"""Drives the real game binary on the virtual display and judges what it shows.

The game is started as a separate process, found on the X display by its window
title, moved to the screen's top-left corner (there is no window manager, so a
plain move is all it takes and the game does not notice), driven with real
pointer and key events through xdotool (XTest), and photographed with
XGetImage. What the screen should show is composed from the very pictures
the game loads, in the order and at the places the game draws them.
"""
import ctypes
import ctypes.util
import glob
import os
import shutil
import subprocess
import tempfile
import time

from PIL import Image, ImageChops

WINDOW_SIZE = (800, 600)
WINDOW_TITLE = '^Jogo$'

# A screen under the sanitizers takes far longer to come up than a plain one.
WINDOW_APPEAR_SECONDS = 60.0
SCREEN_WAIT_SECONDS = 20.0
EXIT_WAIT_SECONDS = 30.0
POLL_SECONDS = 0.05

# Two pictures match when almost every pixel agrees within a small colour step:
# blending on the graphics card rounds differently from PIL by a unit or two.
CHANNEL_TOLERANCE = 16
MISMATCH_FRACTION = 0.002

# The 31 pictures and 6 sounds the game reads at start-up.
PICTURE_NAMES = [
    'TelaMenu.png', 'BotaoJogar.png', 'BotaoInstrucoes.png', 'BotaoSair.png', 'Instrucoes.png',
    'BotaoVoltar.png', 'TelaJogo.png', 'Personagem.png', 'Frutas.png', 'LixeiraInvisivel.png',
    'BarracaInvisivel.png'] + ['Barraca%d.png' % k for k in range(7)] + [
    'BotaoInserirFruta.png', 'AvisoRotacao.png', 'BotaoRotacaoDireita.png',
    'BotaoRotacaoDuplaDireita.png', 'BotaoRotacaoEsquerda.png', 'BotaoRotacaoDuplaEsquerda.png',
    'PerdeuPosicao.png', 'PerdeuRotacao.png', 'PerdeuChave.png', 'PerdeuTempo.png', 'Ganhou.png',
    'BotaoJogarNovamente.png', 'Tempo.png']
SOUND_NAMES = ['PegarFruta.wav', 'ColocaArvore.wav', 'JogarLixo.wav', 'Jogo.wav', 'Perdeu.wav',
               'Ganhou.wav']

# Where the game puts things (window pixels of the top-left corner).
MENU_BUTTONS = {'play': (20, 90), 'instructions': (20, 170), 'quit': (20, 250)}
MENU_BUTTON_SHEETS = {'play': 'BotaoJogar.png', 'instructions': 'BotaoInstrucoes.png',
                      'quit': 'BotaoSair.png'}
BACK_BUTTON = (150, 515)
PLAY_AGAIN_BUTTON = (299, 319)
BUTTON_SIZE = (201, 71)
BUTTON_REST_TOP = 0
BUTTON_HOVER_TOP = 74
STALL_POSITIONS = [(493, 130), (366, 270), (626, 270), (297, 442), (431, 442), (563, 442),
                   (695, 442)]
TIMER_POSITION = (466, 15)
TIMER_CELL = (79, 64)
TIMER_COLUMNS = 10
CHARACTER_START = (105, 400)
CHARACTER_SCALE = 1.1
CHARACTER_FRAME = (43, 58)
# Lanes bring fruits down anywhere in x 0..209, each fruit 38.4 pixels wide.
LANE_AREA_RIGHT = 250


class TestFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def xdotool(*args):
    subprocess.run(['xdotool'] + [str(a) for a in args], check=True,
                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)


# ---------------------------------------------------------------- screenshots

class _XImage(ctypes.Structure):
    _fields_ = [('width', ctypes.c_int), ('height', ctypes.c_int), ('xoffset', ctypes.c_int),
                ('format', ctypes.c_int), ('data', ctypes.c_void_p),
                ('byte_order', ctypes.c_int), ('bitmap_unit', ctypes.c_int),
                ('bitmap_bit_order', ctypes.c_int), ('bitmap_pad', ctypes.c_int),
                ('depth', ctypes.c_int), ('bytes_per_line', ctypes.c_int),
                ('bits_per_pixel', ctypes.c_int)]


class Screen:
    """Screenshots over one X connection kept open (PIL's own grab opens a new
    connection per picture and never closes it, which soon exhausts the server)."""
    _ZPIXMAP = 2
    _ALL_PLANES = ctypes.c_ulong(0xFFFFFFFF)

    def __init__(self):
        self.x11 = ctypes.CDLL(ctypes.util.find_library('X11') or 'libX11.so.6')
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(_XImage)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XFree.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(None)
        check(self.display, 'cannot open the X display %r' % os.environ.get('DISPLAY'))
        self.root = self.x11.XDefaultRootWindow(self.display)

    def grab(self, x, y, width, height):
        image = self.x11.XGetImage(self.display, self.root, x, y, width, height,
                                   self._ALL_PLANES, self._ZPIXMAP)
        check(bool(image), 'XGetImage failed')
        try:
            info = image.contents
            check(info.bits_per_pixel == 32, 'expected a 24-bit screen stored in 32-bit pixels')
            data = ctypes.string_at(info.data, info.bytes_per_line * height)
        finally:
            self.x11.XFree(image.contents.data)
            self.x11.XFree(ctypes.cast(image, ctypes.c_void_p))
        return Image.frombuffer('RGB', (width, height), data, 'raw', 'BGRX',
                                info.bytes_per_line, 1)


_screen = None


def screen():
    global _screen
    if _screen is None:
        _screen = Screen()
    return _screen


# ---------------------------------------------------------------- pictures

class Art:
    """The game's pictures, read from an assets folder at test time."""

    def __init__(self, folder):
        self.folder = folder
        self.cache = {}

    def missing(self):
        return [n for n in PICTURE_NAMES
                if not os.path.isfile(os.path.join(self.folder, 'Imagens', n))]

    def picture(self, name):
        if name not in self.cache:
            self.cache[name] = Image.open(
                os.path.join(self.folder, 'Imagens', name)).convert('RGBA')
        return self.cache[name]

    def cell(self, name, left, top, width, height):
        return self.picture(name).crop((left, top, left + width, top + height))

    def button(self, name, top):
        return self.cell(name, 0, top, *BUTTON_SIZE)

    def timer(self, seconds_left):
        n = seconds_left
        return self.cell('Tempo.png', TIMER_CELL[0] * (n % TIMER_COLUMNS),
                         TIMER_CELL[1] * (n // TIMER_COLUMNS), *TIMER_CELL)


class Composer:
    """Draws pictures the way the game does: a black window, then each picture
    blended over it, back to front."""

    def __init__(self):
        self.image = Image.new('RGBA', WINDOW_SIZE, (0, 0, 0, 255))
        # Pixels whose colour is fully known: covered by an opaque picture.
        self.known = Image.new('L', WINDOW_SIZE, 0)

    def draw(self, picture, position):
        x, y = int(position[0]), int(position[1])
        layer = Image.new('RGBA', WINDOW_SIZE, (0, 0, 0, 0))
        layer.paste(picture, (x, y))
        self.image = Image.alpha_composite(self.image, layer)
        opaque = layer.getchannel('A').point(lambda a: 255 if a == 255 else 0)
        self.known = ImageChops.lighter(self.known, opaque)
        return self

    def rgb(self):
        return self.image.convert('RGB')


def menu_picture(art, hover=None):
    scene = Composer().draw(art.picture('TelaMenu.png'), (0, 0))
    for name in ('play', 'instructions', 'quit'):
        top = BUTTON_HOVER_TOP if name == hover else BUTTON_REST_TOP
        scene.draw(art.button(MENU_BUTTON_SHEETS[name], top), MENU_BUTTONS[name])
    return scene


def instructions_picture(art):
    return (Composer().draw(art.picture('Instrucoes.png'), (0, 0))
            .draw(art.button('BotaoVoltar.png', BUTTON_REST_TOP), BACK_BUTTON))


def scene_picture(art, seconds_left):
    """The still parts of the play scene: background, stalls and timer. The
    lanes and the character move, so callers leave them out of the comparison."""
    scene = Composer().draw(art.picture('TelaJogo.png'), (0, 0))
    for k, position in enumerate(STALL_POSITIONS):
        scene.draw(art.picture('Barraca%d.png' % k), position)
    scene.draw(art.timer(seconds_left), TIMER_POSITION)
    return scene


def end_picture(art, end_name):
    """An end picture with its play-again button; what lies behind it keeps
    moving, so only the pixels these two cover opaquely are known."""
    return (Composer().draw(art.picture(end_name), (0, 0))
            .draw(art.button('BotaoJogarNovamente.png', BUTTON_REST_TOP), PLAY_AGAIN_BUTTON))


def box_mask(box):
    mask = Image.new('L', WINDOW_SIZE, 0)
    mask.paste(255, box)
    return mask


def mismatch(actual, expected, mask=None, tolerance=CHANNEL_TOLERANCE):
    """Fraction of the compared pixels whose colour differs by more than the tolerance."""
    diff = ImageChops.difference(actual.convert('RGB'), expected.convert('RGB'))
    worst = ImageChops.lighter(ImageChops.lighter(diff.getchannel(0), diff.getchannel(1)),
                               diff.getchannel(2))
    bad = worst.point(lambda v: 255 if v > tolerance else 0)
    if mask is not None:
        bad = ImageChops.multiply(bad, mask)
        total = mask.point(lambda v: 255 if v else 0).histogram()[255] or 1
    else:
        total = WINDOW_SIZE[0] * WINDOW_SIZE[1]
    return bad.histogram()[255] / total


def shows(shot, expected, mask=None, focus=(), fraction=MISMATCH_FRACTION):
    """True when the shot shows the expected picture over the mask (all the window
    when None) and over each focus box on its own."""
    if mask is None:
        mask = box_mask((0, 0) + WINDOW_SIZE)
    return (mismatch(shot, expected, mask) <= fraction
            and all(mismatch(shot, expected, box_mask(box)) <= fraction for box in focus))


def box_at(position, size):
    return (int(position[0]), int(position[1]), int(position[0]) + size[0],
            int(position[1]) + size[1])


TIMER_BOX = box_at(TIMER_POSITION, TIMER_CELL)
MENU_BUTTON_BOXES = [box_at(p, BUTTON_SIZE) for p in MENU_BUTTONS.values()]


def differing_box(actual, expected, box, tolerance=CHANNEL_TOLERANCE):
    """Bounding box (window pixels) of what differs inside box, or None."""
    a = actual.convert('RGB').crop(box)
    e = expected.convert('RGB').crop(box)
    diff = ImageChops.difference(a, e).convert('L').point(lambda v: 255 if v > tolerance else 0)
    found = diff.getbbox()
    if found is None:
        return None
    return (found[0] + box[0], found[1] + box[1], found[2] + box[0], found[3] + box[1])


# ---------------------------------------------------------------- the process

def sanitizer_environment(binary):
    """The environment for a run of the game under AddressSanitizer.

    Mesa unloads its software driver (swrast_dri.so) when the game closes its
    window, before the leak check runs at exit. What the driver still held from
    its own globals then looks unreachable and is reported from an "unknown
    module", which no suppression can name. Loading the driver up front (right
    after the sanitizer's runtime, which must come first) keeps it mapped until
    the end, so its blocks stay reachable and anything it truly leaks is named
    as its own."""
    env = dict(os.environ)
    linked = subprocess.run(['ldd', binary], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            text=True).stdout
    runtime = [line.split('=>')[1].split()[0] for line in linked.splitlines()
               if 'libasan.so' in line and '=>' in line]
    drivers = glob.glob('/usr/lib/*/dri/swrast_dri.so')
    if runtime and drivers:
        env['LD_PRELOAD'] = ' '.join([runtime[0], drivers[0]] +
                                     [p for p in env.get('LD_PRELOAD', '').split() if p])
    return env


class Session:
    """One run of the game binary with its window on the display."""

    def __init__(self, binary, folder, artifacts):
        self.binary = binary
        self.folder = folder
        self.artifacts = artifacts
        self.stderr_path = os.path.join(artifacts, 'stderr-%d.txt' % int(time.time() * 1000))
        self.stderr = open(self.stderr_path, 'wb')
        self.process = subprocess.Popen([binary], cwd=folder, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=self.stderr,
                                        env=sanitizer_environment(binary))
        self.window = None
        self.origin = (0, 0)
        self.last_shot = None

    # -- window
    def find_window(self):
        deadline = time.monotonic() + WINDOW_APPEAR_SECONDS
        while time.monotonic() < deadline:
            self.expect_running('while waiting for its window')
            found = subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', WINDOW_TITLE],
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            ids = found.stdout.split()
            if ids:
                self.window = ids[-1]
                break
            time.sleep(POLL_SECONDS)
        check(self.window is not None, 'the game window never appeared')
        geometry = self.geometry()
        check((geometry['WIDTH'], geometry['HEIGHT']) == WINDOW_SIZE,
              'window is %dx%d, expected 800x600' % (geometry['WIDTH'], geometry['HEIGHT']))
        # The game centres its window, which on a 1024x768 screen leaves its bottom
        # rows off the screen; with no window manager a plain move brings it whole.
        xdotool('windowmove', '--sync', self.window, 0, 0)
        geometry = self.geometry()
        self.origin = (geometry['X'], geometry['Y'])
        # No window manager: keys go to the window under the pointer.
        self.point(400, 2)
        return self

    def geometry(self):
        out = subprocess.run(['xdotool', 'getwindowgeometry', '--shell', self.window],
                             stdout=subprocess.PIPE, text=True, check=True).stdout
        values = dict(line.split('=', 1) for line in out.split() if '=' in line)
        return {k: int(v) for k, v in values.items() if k in ('X', 'Y', 'WIDTH', 'HEIGHT')}

    # -- input
    def point(self, x, y):
        xdotool('mousemove', '--sync', self.origin[0] + x, self.origin[1] + y)

    def press_button(self):
        xdotool('mousedown', 1)

    def release_button(self):
        xdotool('mouseup', 1)

    def click(self, x, y, until=None, what='the click to take effect'):
        """A press held until the game has seen it: the menus look at the last
        event only once per frame, so a quick press and release could go unseen."""
        self.point(x, y)
        self.press_button()
        try:
            if until is not None:
                self.wait_for(until, what)
            else:
                time.sleep(0.4)
        finally:
            self.release_button()

    def key_down(self, key):
        xdotool('keydown', key)

    def key_up(self, key):
        xdotool('keyup', key)

    def tap(self, key):
        xdotool('key', key)

    # -- screen
    def shot(self):
        self.last_shot = screen().grab(self.origin[0], self.origin[1], *WINDOW_SIZE).copy()
        return self.last_shot

    def wait_for(self, predicate, what, timeout=SCREEN_WAIT_SECONDS):
        """Photographs the window until predicate(shot) holds."""
        deadline = time.monotonic() + timeout
        while True:
            self.expect_running('while waiting for ' + what)
            shot = self.shot()
            if predicate(shot):
                return shot
            if time.monotonic() > deadline:
                path = os.path.join(self.artifacts, 'last-screen.png')
                shot.save(path)
                raise TestFailure('timed out waiting for %s (last screen saved to %s)'
                                  % (what, path))
            time.sleep(POLL_SECONDS)

    def wait_for_picture(self, composed, what, mask=None, fraction=MISMATCH_FRACTION,
                         timeout=SCREEN_WAIT_SECONDS, focus=()):
        """Waits for the composed picture on the screen. Each box in focus must match
        on its own too: a small part that matters (a timer, a button) would otherwise
        drown in the tolerance of the whole window."""
        if mask is None:
            # The game clears to black before drawing, so with no mask every pixel
            # of the composition is known.
            mask = None

        expected = composed.rgb()

        def matches(shot):
            return shows(shot, expected, mask, focus, fraction)

        try:
            return self.wait_for(matches, what, timeout)
        except TestFailure:
            composed.rgb().save(os.path.join(self.artifacts, 'expected-screen.png'))
            raise

    # -- the end
    def expect_running(self, when):
        code = self.process.poll()
        if code is not None:
            raise TestFailure('the game ended %s with status %d; its error output:\n%s'
                              % (when, code, self.error_output()))

    def wait_exit(self, timeout=EXIT_WAIT_SECONDS):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure('the game did not end within %d s' % timeout)

    def expect_clean_exit(self):
        code = self.wait_exit()
        output = self.error_output()
        check(code == 0, 'the game ended with status %d; its error output:\n%s' % (code, output))
        # The sanitizers' reports (memory errors, leaks, undefined behaviour).
        for marker in ('AddressSanitizer', 'LeakSanitizer', 'runtime error:'):
            check(marker not in output, 'the sanitizers reported:\n' + output)

    def error_output(self):
        self.stderr.flush()
        with open(self.stderr_path, 'rb') as f:
            return f.read().decode('utf-8', 'replace')[-20000:]

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.stderr.close()


def scratch_folder(prefix):
    return tempfile.mkdtemp(prefix=prefix)


def remove_folder(path):
    shutil.rmtree(path, ignore_errors=True)
