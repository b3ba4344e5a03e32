#!/usr/bin/python3
"""Builds the Debian package, unpacks it into a throw-away root, and starts the
installed launcher from an unrelated working directory on the virtual display.

  installed_launcher.py BUILD_DIR

Passes when the package holds the game, its data, the launcher, the desktop
entry and the icons, depends on the SFML runtime, and the installed game shows
its menu and ends on Escape with status 0.
"""
import configparser
import glob
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
import jogo_screen as js  # noqa: E402
from jogo_screen import check  # noqa: E402

SFML_RUNTIME = ('libsfml-graphics2.5', 'libsfml-window2.5', 'libsfml-system2.5',
                'libsfml-audio2.5')


def build_package(build_dir, out):
    subprocess.run(['cpack', '--config', os.path.join(build_dir, 'CPackConfig.cmake'), '-B', out],
                   check=True, stdout=subprocess.DEVNULL)
    packages = glob.glob(os.path.join(out, 'jogo_*.deb'))
    check(len(packages) == 1, 'expected one jogo package in %s, found %s' % (out, packages))
    return packages[0]


def check_contents(package, root):
    depends = subprocess.run(['dpkg-deb', '-f', package, 'Depends'], check=True,
                             stdout=subprocess.PIPE, text=True).stdout
    for library in SFML_RUNTIME:
        check(library in depends, 'the package does not depend on %s: %s' % (library, depends))
    subprocess.run(['dpkg-deb', '-x', package, root], check=True)
    usr = os.path.join(root, 'usr')
    for path in ('games/jogo', 'bin/jogo'):
        check(os.access(os.path.join(usr, path), os.X_OK), '/usr/%s is missing or not executable' % path)
    data = os.path.join(usr, 'share', 'games', 'jogo')
    for name in js.PICTURE_NAMES:
        check(os.path.isfile(os.path.join(data, 'Imagens', name)), 'Imagens/%s not installed' % name)
    for name in js.SOUND_NAMES:
        check(os.path.isfile(os.path.join(data, 'Sons', name)), 'Sons/%s not installed' % name)
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(os.path.join(usr, 'share', 'applications', 'jogo.desktop'), encoding='utf-8')
    desktop = entry['Desktop Entry']
    categories = desktop['Categories'].split(';')
    check('Game' in categories and 'Education' in categories,
          'desktop entry categories: %s' % desktop['Categories'])
    check(desktop['Exec'] == 'jogo' and desktop['Icon'] == 'jogo', 'desktop entry Exec/Icon')
    for size in (48, 128, 256):
        icon = os.path.join(usr, 'share', 'icons', 'hicolor', '%dx%d' % (size, size), 'apps', 'jogo.png')
        check(os.path.isfile(icon), 'icon %dx%d not installed' % (size, size))
    return data


def start_installed_game(root, data, artifacts):
    launcher = os.path.join(root, 'usr', 'bin', 'jogo')
    # Anywhere but the data directory: the launcher must find it by itself.
    elsewhere = tempfile.mkdtemp(prefix='jogo-elsewhere-')
    game = js.Session(launcher, elsewhere, artifacts).find_window()
    try:
        art = js.Art(data)
        game.wait_for_picture(js.menu_picture(art), 'the installed game showing its menu',
                              focus=js.MENU_BUTTON_BOXES)
        game.tap('Escape')
        game.expect_clean_exit()
    finally:
        game.close()
        js.remove_folder(elsewhere)


def main():
    check(len(sys.argv) == 2, __doc__)
    check(os.environ.get('DISPLAY'), 'no DISPLAY: run under xvfb-run')
    build_dir = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix='jogo-package-')
    try:
        package = build_package(build_dir, os.path.join(work, 'out'))
        root = os.path.join(work, 'root')
        data = check_contents(package, root)
        start_installed_game(root, data, work)
    except js.TestFailure as failure:
        print('FAILED: %s (files kept in %s)' % (failure, work))
        return 1
    print('passed: package built, unpacked and started from another directory')
    js.remove_folder(work)
    return 0


if __name__ == '__main__':
    sys.exit(main())
