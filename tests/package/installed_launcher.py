#!/usr/bin/python3
"""Builds the Debian package and judges it as Debian's tools and a player would.

  installed_launcher.py BUILD_DIR      (on a virtual display)

Passes when lintian, appstreamcli and desktop-file-validate report no error and no
warning, nothing is installed in /usr/bin, and the game finds all its pictures and
sounds and ends on Escape with status 0, started from an unrelated folder through
the package's /usr/games/jogo, a symbolic link to it, and a `cmake --install` tree.
"""
import ctypes
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

WAIT_SECONDS = 60  # generous for a loaded machine; every wait below is bounded by it
WORK = tempfile.mkdtemp(prefix='jogo-package-')


def check(condition, message):
    if not condition:
        sys.exit('FAILED: %s\n(files kept in %s)' % (message, WORK))


def hold_display():
    """Keeps a connection to the display open to the end: the X server resets itself
    whenever its last client leaves, and a game that connects meanwhile cannot start."""
    xlib = ctypes.CDLL('libX11.so.6')
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    check(xlib.XOpenDisplay(None), 'no display: run under xvfb-run')


def run_clean(command, silent=False):
    """Runs a command to its end; fails unless it succeeds (and, if `silent`, prints nothing)."""
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                          timeout=5 * WAIT_SECONDS)
    check(done.returncode == 0 and not (silent and done.stdout),
          '%s:\n%s' % (' '.join(command), done.stdout))


def check_with_debian_tools(package, root):
    run_clean(['lintian', '--fail-on', 'error,warning', package])
    metainfo = glob.glob(os.path.join(root, 'usr/share/metainfo/*.xml'))
    desktop = glob.glob(os.path.join(root, 'usr/share/applications/*.desktop'))
    check(len(metainfo) == 1 and len(desktop) == 1, 'metainfo %s, desktop %s' % (metainfo, desktop))
    run_clean(['appstreamcli', 'validate', '--no-net', metainfo[0]])
    run_clean(['desktop-file-validate', desktop[0]], silent=True)


def game_windows():
    found = subprocess.run(['xdotool', 'search', '--name', '^Jogo$'], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, text=True, timeout=WAIT_SECONDS)
    return found.stdout.split()


def wait_until(condition, what):
    deadline = time.monotonic() + WAIT_SECONDS
    while not condition():
        check(time.monotonic() < deadline, 'waited %d s for %s' % (WAIT_SECONDS, what))
        time.sleep(0.1)


def play_until_escape(launcher, folder):
    """Starts the launcher in `folder`, waits for the window, and quits with Escape."""
    # An ended game's window can outlive its process for a moment, and the game sets no
    # pid on its window: the next game's window is told apart once the last has gone.
    wait_until(lambda: not game_windows(), 'the last game window to close')
    game = subprocess.Popen([launcher], cwd=folder, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, env=dict(os.environ, XDG_DATA_HOME=os.path.join(WORK, 'home')))
    try:
        wait_until(lambda: game_windows() or game.poll() is not None, 'the game window')
        if game.poll() is None:
            key = subprocess.run(['xdotool', 'search', '--name', '^Jogo$', 'key', '--window', '%1',
                                  'Escape'], timeout=WAIT_SECONDS)
            check(key.returncode == 0, 'Escape could not be sent to the game window')
        output = game.communicate(timeout=WAIT_SECONDS)[0]
    finally:
        if game.poll() is None:
            game.kill()
    # The library names every picture or sound it could not read.
    check(game.returncode == 0 and 'Failed to' not in output,
          '%s from %s: status %s, printed:\n%s' % (launcher, folder, game.returncode, output))


def main():
    check(len(sys.argv) == 2, __doc__)
    hold_display()
    build_dir = os.path.abspath(sys.argv[1])
    root, prefix, elsewhere, link = (os.path.join(WORK, name)
                                     for name in ('root', 'prefix', 'elsewhere', 'jogo-link'))
    run_clean(['cpack', '--config', os.path.join(build_dir, 'CPackConfig.cmake'), '-B', WORK])
    packages = glob.glob(os.path.join(WORK, 'jogo_*.deb'))
    check(len(packages) == 1, 'cpack made %s' % packages)
    run_clean(['dpkg-deb', '-x', packages[0], root])
    check_with_debian_tools(packages[0], root)
    check(not os.path.exists(os.path.join(root, 'usr/bin')), 'the package installs into /usr/bin')

    launcher = os.path.join(root, 'usr/games/jogo')
    os.symlink(launcher, link)
    os.mkdir(elsewhere)
    run_clean(['cmake', '--install', build_dir, '--prefix', prefix])
    for start in (launcher, link, os.path.join(prefix, 'games/jogo')):
        play_until_escape(start, elsewhere)
    print('passed: the checkers are content; the game starts from the package, a link and a prefix')
    shutil.rmtree(WORK)


if __name__ == '__main__':
    main()
