#!/usr/bin/python3
"""Checks a generated T-s chart bitmap (DiagrTS.bmp) against python3-iapws, an independent
IF97 implementation (run with /usr/bin/python3, which has iapws and PIL).

    check_chart.py PATH/TO/DiagrTS.bmp

The chart's frame is 1000 x 1700 with x = 100 s + 35 and y = 1674 - 2 t (s in kJ/(kg K), t in
°C). The saturation dome is drawn as a thick black line, so at each checked temperature a dark
pixel must lie within 2 pixels of the saturated-liquid and saturated-vapour entropies that
iapws gives, and near the critical point; inside the dome, at 100 °C and s = 4, there is no
line. Nothing may be red (the chart window's markers are).
Exits 0 when every check passes, 1 otherwise, listing the failures.
"""

import sys

from iapws import IAPWS97
from PIL import Image

TOLERANCE = 2  # pixels
T_CRITICAL = 373.946  # °C


def frame(s, t):
    return 100.0 * s + 35.0, 1674.0 - 2.0 * t


def dark_near(image, x, y):
    cx, cy = round(x), round(y)
    for dy in range(-TOLERANCE, TOLERANCE + 1):
        for dx in range(-TOLERANCE, TOLERANCE + 1):
            r, g, b = image.getpixel((cx + dx, cy + dy))
            if max(r, g, b) < 90:
                return True
    return False


def red_pixels(image):
    return sum(1 for r, g, b in image.getdata() if r > 150 and g < 100 and b < 100)


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    failures = []
    with Image.open(sys.argv[1]) as raw:
        if raw.format != "BMP" or raw.size != (1000, 1700) or raw.mode != "RGB":
            failures.append(f"not a 24-bit 1000 x 1700 BMP: {raw.format} {raw.size} {raw.mode}")
        image = raw.convert("RGB")
    if not failures:
        for t in (20.0, 100.0, 200.0, 300.0, 350.0):
            for x in (0, 1):
                s = IAPWS97(T=t + 273.15, x=x).s
                px, py = frame(s, t)
                if not dark_near(image, px, py):
                    failures.append(f"no dome at t = {t}, x = {x}: s = {s:.5f}, "
                                    f"pixel ({px:.1f}, {py:.1f})")
        px, py = frame(IAPWS97(T=T_CRITICAL + 273.15, x=0).s, T_CRITICAL)
        if not dark_near(image, px, py):
            failures.append(f"no critical point at ({px:.1f}, {py:.1f})")
        px, py = frame(4.0, 100.0)
        if dark_near(image, px, py + 5):
            failures.append(f"a line inside the dome at ({px:.1f}, {py + 5:.1f})")
        reds = red_pixels(image)
        if reds:
            failures.append(f"{reds} red pixels")
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("chart OK")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
