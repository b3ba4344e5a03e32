"""Runs every measurement in rounds, interleaved, and prints the medians.

Each round runs, one after the other: the game's play frame, the bare program's
frame, the floor (clear and display), the game's start-up, and one session of the
real binary (menu left idle, then a match at its 60 frames per second) for CPU
use and peak resident memory, the history program (a summary of 100,000
lines, and appends to them; a class's report of 100 files of 10,000 lines) and
the dead-end check on 30,000 trees. Interleaving spreads any change in the
machine's load over all figures alike.
"""
import argparse
import os
import platform
import re
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

FRAMES = 2000
IDLE_SECONDS = 10.0
SETTLE_SECONDS = 1.0
TICKS = os.sysconf('SC_CLK_TCK')
HISTORY_ROUNDS = 5  # within one run of history_bench, 100 appends each


def figures(line):
    return {k: float(v) for k, v in re.findall(r'(\w+)=([0-9.]+)', line)}


def run(args):
    out = subprocess.run(args, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                         text=True, check=True).stdout
    # Every line of figures the program printed, a later name over an earlier one.
    found = {}
    for line in out.strip().splitlines():
        found.update(figures(line))
    return found


def cpu_seconds(pid):
    with open('/proc/%d/stat' % pid) as f:
        fields = f.read().rsplit(')', 1)[1].split()
    # utime and stime are fields 14 and 15 of the whole line.
    return (int(fields[11]) + int(fields[12])) / TICKS


def cpu_share(pid, seconds):
    start_cpu, start = cpu_seconds(pid), time.monotonic()
    time.sleep(seconds)
    return (cpu_seconds(pid) - start_cpu) / (time.monotonic() - start)


def xdotool(*words):
    return subprocess.run(['xdotool', *words], check=True, stdout=subprocess.PIPE, text=True).stdout.split()


def session(binary):
    """The real game: idle menu, then a match; CPU share of each, and peak RSS."""
    game = subprocess.Popen([binary], cwd=ROOT)
    window = xdotool('search', '--sync', '--onlyvisible', '--name', '^Jogo$')[0]
    xdotool('mousemove', '--window', window, '700', '550')
    time.sleep(SETTLE_SECONDS)
    menu = cpu_share(game.pid, IDLE_SECONDS)
    # The play button, held down past the menu's pause so that a frame sees the press;
    # then the pointer away from every button of the match.
    xdotool('mousemove', '--window', window, '120', '125', 'mousedown', '1')
    time.sleep(SETTLE_SECONDS)
    xdotool('mouseup', '1')
    xdotool('mousemove', '--window', window, '790', '590')
    time.sleep(SETTLE_SECONDS)
    match = cpu_share(game.pid, IDLE_SECONDS)
    xdotool('key', 'Escape')  # the pointer is over the window, which so has the keyboard
    _, status, usage = os.wait4(game.pid, 0)
    game.returncode = os.waitstatus_to_exitcode(status)
    return {'menu_cpu': 100 * menu, 'match_cpu': 100 * match, 'peak_rss_mb': usage.ru_maxrss / 1024}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--build', default='build-bench')
    parser.add_argument('--rounds', type=int, default=5)
    args = parser.parse_args()
    build = os.path.join(ROOT, args.build)
    game_bench = os.path.join(build, 'bench', 'game_bench')
    bare = os.path.join(build, 'bench', 'bare_frame')
    binary = os.path.join(build, 'jogo')
    history = os.path.join(build, 'bench', 'history_bench')
    dead_end = os.path.join(build, 'bench', 'dead_end_bench')

    samples = {}

    def keep(values):
        for key, value in values.items():
            samples.setdefault(key, []).append(value)

    # One start-up before the rounds, so that every timed start-up is warm.
    run([game_bench, 'startup', str(time.monotonic_ns())])
    for round_number in range(1, args.rounds + 1):
        keep({'game_frame_us': run([game_bench, 'frame', str(FRAMES)])['frame_us']})
        keep({'bare_frame_us': run([bare, 'draw', str(FRAMES)])['frame_us']})
        keep({'big_game_frame_us': run([game_bench, 'frame15', str(FRAMES)])['frame_us']})
        keep({'big_bare_frame_us': run([bare, 'draw15', str(FRAMES)])['frame_us']})
        keep({'floor_frame_us': run([bare, 'floor', str(FRAMES)])['frame_us']})
        keep(run([game_bench, 'startup', str(time.monotonic_ns())]))
        keep(session(binary))
        keep(run([history, str(HISTORY_ROUNDS), binary]))
        keep(run([dead_end]))
        print('round %d done' % round_number, file=sys.stderr)

    m = {k: statistics.median(v) for k, v in samples.items()}
    load = open('/proc/loadavg').read().split()[:3]
    print('| figure | median of %d | all rounds | target |' % args.rounds)
    print('|---|---|---|---|')
    rows = [
        ('play frame, game (us)', 'game_frame_us', '%.0f', ''),
        ('play frame, bare SFML program (us)', 'bare_frame_us', '%.0f', ''),
        ('big market frame, game (us)', 'big_game_frame_us', '%.0f', ''),
        ('big market frame, bare SFML program (us)', 'big_bare_frame_us', '%.0f', ''),
        ('play frame, floor: clear + display (us)', 'floor_frame_us', '%.0f', ''),
        ('start-up to first menu frame (ms)', 'startup_ms', '%.1f', '<= 300'),
        ('  of which before main (ms)', 'before_main_ms', '%.1f', ''),
        ('  of which loading the 45 pictures (ms)', 'load_pictures_ms', '%.1f', ''),
        ('  decoding the 45 pictures alone (ms)', 'decode_ms', '%.1f', ''),
        ('peak resident memory (MB)', 'peak_rss_mb', '%.1f', '<= 130'),
        ('CPU, menu idle (% of a core)', 'menu_cpu', '%.1f', '<= 8'),
        ('CPU, match at 60 fps (% of a core)', 'match_cpu', '%.1f', '<= 55'),
        ('history summary, 100,000 lines (ms)', 'history_summary_ms', '%.1f', ''),
        ('results screen opened on that history, to its first frame (ms)', 'results_open_ms', '%.1f', '<= 100'),
        ('history append, one line to that file (ms)', 'history_append_ms', '%.3f', '<= 1'),
        ('  slowest of each run\'s 500 appends (ms)', 'history_append_slowest_ms', '%.3f', ''),
        ('class report: jogo --report on 100 files of 10,000 lines (ms)', 'class_report_ms', '%.1f', '<= 1000'),
        ('dead-end check after a move, median of 30,000 trees (us)', 'dead_end_median_us', '%.2f', ''),
        ('  99th percentile (us)', 'dead_end_p99_us', '%.2f', ''),
        ('  slowest tree, its median over 5 calls (us)', 'dead_end_slowest_tree_us', '%.1f', '<= 100'),
        ('big market dead-end check, median of 3,000 trees (us)', 'big_dead_end_median_us', '%.2f', ''),
        ('  99th percentile (us)', 'big_dead_end_p99_us', '%.1f', ''),
        ('  slowest (us)', 'big_dead_end_slowest_us', '%.1f', ''),
    ]
    for label, key, fmt, target in rows:
        print('| %s | %s | %s | %s |' % (label, fmt % m[key],
                                         ', '.join(fmt % v for v in samples[key]), target))
    ratio = m['game_frame_us'] / m['bare_frame_us']
    print('| game frame / bare frame | %.2fx | %s | <= 1.2x |' % (
        ratio, ', '.join('%.2f' % (g / b) for g, b in
                         zip(samples['game_frame_us'], samples['bare_frame_us']))))
    ratio = m['big_game_frame_us'] / m['big_bare_frame_us']
    print('| big market: game frame / bare frame | %.2fx | %s | <= 1.2x |' % (
        ratio, ', '.join('%.2f' % (g / b) for g, b in
                         zip(samples['big_game_frame_us'], samples['big_bare_frame_us']))))
    print()
    print('machine: %s, %d cores, %s; load average after the run: %s' % (
        platform.processor() or platform.machine(), os.cpu_count(),
        platform.platform(), ' '.join(load)))


if __name__ == '__main__':
    main()
