"""Sound effects and the background loop, synthesised note by note.

All sounds are mono 16-bit PCM. Peaks are normalised to PEAK (about -1.4 dBFS)
and every sound gets short fades so it starts and stops without clicks.
"""
import math
import os
import random
import struct
import wave

PEAK = 0.85
SR_FX = 44100
SR_MUSIC = 22050
TWO_PI = 2.0 * math.pi


def midi(m):
    return 440.0 * 2.0 ** ((m - 69) / 12.0)


class Track:
    """A float sample buffer. With loop=True, notes that run past the end
    wrap around to the start so the file repeats without a seam."""

    def __init__(self, seconds, sr, loop=False):
        self.sr = sr
        self.n = int(round(seconds * sr))
        self.buf = [0.0] * self.n
        self.loop = loop

    def add(self, start, samples):
        buf, n = self.buf, self.n
        i0 = int(round(start * self.sr))
        for k, v in enumerate(samples):
            i = i0 + k
            if i >= n:
                if not self.loop:
                    break
                i %= n
            buf[i] += v

    # -- instruments -------------------------------------------------------
    def tone(self, start, dur, freq, amp, harmonics=((1, 1.0),), attack=0.005, decay=None,
             release=0.04, sustain=1.0, glide_to=None, vibrato=0.0):
        """A note made of sine harmonics.

        decay: time constant (s) of an exponential fall; None keeps the level
        at `sustain` until the release at the end of `dur`.
        """
        sr = self.sr
        total = int((dur + release) * sr)
        out = [0.0] * total
        nyq = sr / 2.0
        hs = [(h, a) for h, a in harmonics if freq * h < nyq * 0.9]
        phase = 0.0
        end_n = int(dur * sr)
        att_n = max(1, int(attack * sr))
        rel_n = max(1, int(release * sr))
        sin = math.sin
        for i in range(total):
            t = i / sr
            f = freq
            if glide_to is not None:
                f = freq * (glide_to / freq) ** min(1.0, t / dur)
            if vibrato:
                f *= 1.0 + vibrato * sin(TWO_PI * 5.5 * t) * min(1.0, t / 0.15)
            phase += TWO_PI * f / sr
            if i < att_n:
                env = i / att_n
            elif decay is not None:
                env = math.exp(-(t - attack) / decay)
            else:
                env = sustain
            if i >= end_n:
                env *= max(0.0, 1.0 - (i - end_n) / rel_n)
            s = 0.0
            for h, a in hs:
                s += a * sin(phase * h)
            out[i] = amp * env * s
        self.add(start, out)

    def noise(self, start, dur, amp, seed, highpass=0.0, lowpass=1.0, attack=0.002, decay=0.05,
              sweep=None):
        """Filtered white noise burst (one-pole filters, coefficients 0..1)."""
        rnd = random.Random(seed)
        sr = self.sr
        total = int(dur * sr)
        out = [0.0] * total
        lp = 0.0
        hp_prev_in = 0.0
        hp = 0.0
        att_n = max(1, int(attack * sr))
        for i in range(total):
            t = i / sr
            x = rnd.uniform(-1.0, 1.0)
            cut = lowpass
            if sweep is not None:
                cut = sweep[0] + (sweep[1] - sweep[0]) * (i / total)
            lp += cut * (x - lp)
            y = lp
            if highpass > 0.0:
                hp = (1.0 - highpass) * (hp + y - hp_prev_in)
                hp_prev_in = y
                y = hp
            env = i / att_n if i < att_n else math.exp(-(t - attack) / decay)
            env *= min(1.0, (total - i) / (0.004 * sr))
            out[i] = amp * env * y
        self.add(start, out)

    def kick(self, start, amp):
        self.tone(start, 0.16, 140.0, amp, ((1, 1.0),), attack=0.002, decay=0.07,
                  release=0.02, glide_to=48.0)

    # -- output ------------------------------------------------------------
    def write(self, path, fade_in=0.004, fade_out=0.01, gain=1.0):
        buf = list(self.buf)
        n = len(buf)
        fi, fo = int(fade_in * self.sr), int(fade_out * self.sr)
        for i in range(min(fi, n)):
            buf[i] *= i / fi
        for i in range(min(fo, n)):
            buf[n - 1 - i] *= i / fo
        peak = max(abs(v) for v in buf) or 1.0
        scale = PEAK * gain * 32767.0 / peak
        data = struct.pack("<%dh" % n, *[int(round(v * scale)) for v in buf])
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as fh:
            w = wave.open(fh, "wb")
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(self.sr)
            w.writeframes(data)
            w.close()


BELL = ((1, 1.0), (2, 0.35), (3, 0.12), (4.2, 0.06))
MARIMBA = ((1, 1.0), (3.9, 0.12), (9.8, 0.03))
BRASS = ((1, 1.0), (2, 0.55), (3, 0.35), (4, 0.2), (5, 0.1))
SOFT_SQUARE = ((1, 1.0), (3, 0.28), (5, 0.1), (7, 0.04))
FLUTE = ((1, 1.0), (2, 0.22), (3, 0.08))


# ---------------------------------------------------------------------------
# effects
# ---------------------------------------------------------------------------
def pegar_fruta(path):
    t = Track(0.22, SR_FX)
    t.tone(0.0, 0.035, 320.0, 0.5, ((1, 1.0),), attack=0.002, decay=0.03, release=0.01,
           glide_to=900.0)
    t.tone(0.025, 0.16, midi(84), 0.35, BELL, attack=0.003, decay=0.06, release=0.02)
    t.tone(0.075, 0.12, midi(91), 0.32, BELL, attack=0.003, decay=0.05, release=0.02)
    t.write(path)


def coloca_arvore(path):
    t = Track(0.45, SR_FX)
    for k, m in enumerate((72, 76, 79, 84)):
        t.tone(0.06 * k, 0.42 - 0.06 * k, midi(m), 0.3, MARIMBA, attack=0.003, decay=0.13,
               release=0.03)
    t.tone(0.0, 0.08, 200.0, 0.25, ((1, 1.0),), attack=0.002, decay=0.03, release=0.01,
           glide_to=120.0)
    t.write(path)


def jogar_lixo(path):
    t = Track(0.32, SR_FX)
    t.noise(0.0, 0.2, 0.8, seed=7, attack=0.12, decay=0.04, sweep=(0.05, 0.35))
    t.kick(0.17, 0.9)
    t.noise(0.17, 0.1, 0.3, seed=8, lowpass=0.25, attack=0.001, decay=0.03)
    t.write(path)


def perdeu(path):
    t = Track(1.15, SR_FX)
    notes = [(67, 0.0, 0.2), (66, 0.22, 0.2), (65, 0.44, 0.2), (64, 0.66, 0.42)]
    for m, start, dur in notes:
        last = m == 64
        t.tone(start, dur, midi(m - 12), 0.45, SOFT_SQUARE, attack=0.015, decay=None,
               sustain=0.9, release=0.06, vibrato=0.012 if last else 0.0,
               glide_to=midi(m - 12.6) if last else None)
    t.write(path, gain=0.65)


def ganhou(path):
    t = Track(1.55, SR_FX)
    for k, m in enumerate((72, 76, 79, 84)):
        t.tone(0.1 * k, 0.12, midi(m), 0.3, BRASS, attack=0.01, decay=None, sustain=0.85,
               release=0.04)
    for m in (72, 76, 79, 84):
        t.tone(0.42, 0.95, midi(m), 0.22, BRASS, attack=0.02, decay=0.9, release=0.15,
               vibrato=0.004)
    t.tone(0.42, 0.95, midi(48), 0.3, ((1, 1.0), (2, 0.3)), attack=0.01, decay=0.7, release=0.15)
    rnd = random.Random(3)
    for k in range(8):
        t.tone(0.5 + 0.09 * k, 0.1, midi(rnd.choice((96, 100, 103, 108))), 0.08, BELL,
               attack=0.002, decay=0.05, release=0.02)
    t.write(path)


# ---------------------------------------------------------------------------
# background music: 16 bars at 120 bpm (32 s), loops cleanly
# ---------------------------------------------------------------------------
BPM = 120
BARS = 16
EIGHTH = 60.0 / BPM / 2.0

# Chords per half bar.
C, G, AM, F = (60, 64, 67), (59, 62, 67), (57, 60, 64), (57, 60, 65)
ROOTS = {C: 48, G: 43, AM: 45, F: 41}
PROGRESSION = [C, C, G, G, AM, AM, F, F,
               C, C, G, G, F, G, C, C,
               C, C, G, G, AM, AM, F, F,
               F, F, G, G, C, C, G, G]

R = None
MELODY = [
    [(76, 2), (79, 1), (76, 1), (74, 1), (72, 1), (74, 2)],
    [(74, 2), (67, 1), (71, 1), (74, 2), (R, 2)],
    [(72, 2), (76, 1), (81, 1), (79, 3), (76, 1)],
    [(77, 2), (76, 1), (74, 1), (72, 4)],
    [(76, 1), (76, 1), (79, 2), (84, 2), (79, 2)],
    [(71, 1), (74, 1), (79, 2), (77, 1), (76, 1), (74, 2)],
    [(81, 2), (77, 2), (79, 2), (74, 2)],
    [(72, 6), (R, 2)],
    [(76, 2), (79, 1), (76, 1), (74, 1), (72, 1), (74, 2)],
    [(74, 2), (67, 1), (71, 1), (74, 2), (R, 2)],
    [(72, 2), (76, 1), (81, 1), (79, 3), (76, 1)],
    [(81, 2), (79, 1), (77, 1), (76, 2), (74, 2)],
    [(84, 2), (81, 1), (77, 1), (81, 2), (84, 2)],
    [(83, 2), (79, 1), (74, 1), (79, 4)],
    [(76, 1), (79, 1), (84, 2), (79, 1), (76, 1), (72, 2)],
    [(74, 2), (71, 2), (67, 2), (R, 2)],
]


def jogo(path):
    total = BARS * 8 * EIGHTH
    t = Track(total, SR_MUSIC, loop=True)
    bar_len = 8 * EIGHTH
    for bar in range(BARS):
        b0 = bar * bar_len
        # Melody.
        pos = 0
        for m, ln in MELODY[bar]:
            if m is not None:
                t.tone(b0 + pos * EIGHTH, ln * EIGHTH * 0.92, midi(m), 0.26, FLUTE,
                       attack=0.02, decay=None, sustain=0.8, release=0.07, vibrato=0.004)
                t.tone(b0 + pos * EIGHTH, 0.2, midi(m), 0.1, MARIMBA, attack=0.002, decay=0.08,
                       release=0.02)
            pos += ln
        for half in range(2):
            chord = PROGRESSION[bar * 2 + half]
            h0 = b0 + half * 4 * EIGHTH
            root = ROOTS[chord]
            # Bass: root, root, fifth, octave bounce.
            for step, note, ln in ((0, root, 2), (2, root + 7, 1), (3, root + 12, 1)):
                t.tone(h0 + step * EIGHTH, ln * EIGHTH * 0.85, midi(note), 0.3,
                       ((1, 1.0), (2, 0.4), (3, 0.12)), attack=0.006, decay=0.35, release=0.04)
            # Chord plucks on the off-beats.
            for step in (1, 3):
                for k, m in enumerate(chord):
                    t.tone(h0 + step * EIGHTH + 0.008 * k, 0.16, midi(m), 0.085, MARIMBA,
                           attack=0.003, decay=0.09, release=0.03)
            # Drums: soft kick on the beat, light snap on the back-beat.
            t.kick(h0, 0.42)
            t.noise(h0 + 2 * EIGHTH, 0.12, 0.16, seed=100 + bar * 2 + half, highpass=0.6,
                    lowpass=0.6, attack=0.001, decay=0.035)
        # Shaker on every eighth, accented on the off-beats.
        for step in range(8):
            t.noise(b0 + step * EIGHTH, 0.06, 0.05 if step % 2 else 0.03,
                    seed=1000 + bar * 8 + step, highpass=0.85, lowpass=0.9, attack=0.004,
                    decay=0.015)
    # Background music sits well under the effects, so a pick or a loss is always heard.
    t.write(path, fade_in=0.003, fade_out=0.003, gain=0.4)


SOUNDS = {
    "PegarFruta.wav": pegar_fruta,
    "ColocaArvore.wav": coloca_arvore,
    "JogarLixo.wav": jogar_lixo,
    "Perdeu.wav": perdeu,
    "Ganhou.wav": ganhou,
    "Jogo.wav": jogo,
}
