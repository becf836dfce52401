#!/usr/bin/env bash
# Writes the JPEG samples of tests/report/data with ImageMagick, an encoder independent of our
# decoder: 16 x 16 pixels in four quadrants (red, green / blue, white), as RGB, as greyscale
# and as CMYK (ImageMagick writes Adobe-style CMYK).
set -euo pipefail
out=$(cd "$(dirname "${BASH_SOURCE[0]}")/../report/data" && pwd)
quadrants=(-size 8x8 xc:red xc:lime +append \( -size 8x8 xc:blue xc:white +append \) -append)
/usr/bin/convert "${quadrants[@]}" -quality 95 "$out/quadrants_rgb.jpg"
/usr/bin/convert "${quadrants[@]}" -colorspace Gray -quality 95 "$out/quadrants_gray.jpg"
/usr/bin/convert "${quadrants[@]}" -colorspace CMYK -quality 95 "$out/quadrants_cmyk.jpg"
