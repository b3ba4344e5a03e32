#!/usr/bin/python3
"""Regenerates every picture (Imagens/, Imagens/en/) and sound (Sons/) of the game.

Usage (from the project root):
    /usr/bin/python3 tools/gen_assets.py [--out DIR] [--only NAME ...]

The output is deterministic: running it twice gives byte-identical files.
Needs Debian's python3-pil and the DejaVu fonts (fonts-dejavu-core/-extra).
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from assetgen import base, botoes, frutas, tempo, personagem, barracas, telas, feira, resultados, sinais, placar, sons, texts  # noqa: E402


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.dirname(HERE),
                    help="directory that receives Imagens/ and Sons/ (default: project root)")
    ap.add_argument("--only", nargs="*", default=None,
                    help="generate only these file names (for quick iteration)")
    ap.add_argument("--quiet", action="store_true")
    args = ap.parse_args(argv)

    snd_dir = os.path.join(args.out, "Sons")
    wanted = set(args.only) if args.only else None

    def want(name):
        return wanted is None or name in wanted

    def log(msg):
        if not args.quiet:
            print(msg)

    # Pictures. Each module returns {file name: PIL image}. The game's own
    # language gets every picture in Imagens/; another language only those that
    # hold text (the buttons and the full-window pictures), in Imagens/<code>/.
    for lang in sorted(texts.TEXTS, key=lambda code: code != texts.BASE):
        t = texts.TEXTS[lang]
        folder = "Imagens" if lang == texts.BASE else os.path.join("Imagens", lang)
        pictures = {}
        pictures.update(botoes.generate(want, t))
        pictures.update(telas.generate(want, t))
        pictures.update(feira.generate(want, t))
        pictures.update(resultados.generate(want, t))
        if lang == texts.BASE:
            for wordless in (frutas, tempo, personagem, barracas, sinais, placar):
                pictures.update(wordless.generate(want))
        for name in sorted(pictures):
            if want(name) and pictures[name] is not None:
                base.save_png(pictures[name], os.path.join(args.out, folder, name))
                log(os.path.join(folder, name))

    for name, writer in sorted(sons.SOUNDS.items()):
        if want(name):
            writer(os.path.join(snd_dir, name))
            log("Sons/" + name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
