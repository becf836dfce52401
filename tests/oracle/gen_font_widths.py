#!/usr/bin/python3
"""Writes tests/platform/data/font_widths.csv: the advance widths of sample texts in the
metric-compatible faces that stand in for Arial, Times New Roman and Courier New, read by
FreeType through Pillow (an independent reader of the font files), in font units at an em of
2048. Each text's width is the sum of its characters' advances (no kerning)."""
import csv
import os
import sys

from PIL import ImageFont

FONTS = {
    ("Arial", False, False): "LiberationSans-Regular.ttf",
    ("Arial", True, False): "LiberationSans-Bold.ttf",
    ("Times New Roman", False, True): "LiberationSerif-Italic.ttf",
    ("Courier New", False, False): "LiberationMono-Regular.ttf",
}
TEXTS = [
    "Hello, world",
    "Příliš žluťoučký kůň úpěl ďábelské ódy",
    "WWWWiiii 0123456789",
    "Tlak [MPa]  Teplota [°C]",
]
FOLDER = "/usr/share/fonts/truetype/liberation2"
EM = 2048


def main():
    out = os.path.join(os.path.dirname(__file__), "..", "platform", "data", "font_widths.csv")
    with open(out, "w", newline="", encoding="utf-8") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["face", "bold", "italic", "text", "width_at_em_2048"])
        for (face, bold, italic), file in FONTS.items():
            font = ImageFont.truetype(os.path.join(FOLDER, file), EM)
            for text in TEXTS:
                width = sum(font.getlength(c) for c in text)
                w.writerow([face, int(bold), int(italic), text, f"{width:.1f}"])
    return 0


if __name__ == "__main__":
    sys.exit(main())
