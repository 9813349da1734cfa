#!/usr/bin/python3
"""Writes the small pictures the runtime tests embed. Run from this folder."""
from PIL import Image

# Odd widths: rows carry padding; the coloured corners show rows coming out upside down.
rgb = Image.new("RGB", (13, 7), "white")
rgb.putpixel((0, 0), (255, 0, 0))
rgb.putpixel((12, 6), (0, 0, 255))
rgb.save("rgb24.bmp")
pal = Image.new("RGB", (10, 6), "white")
pal.putpixel((0, 0), (0, 255, 0))
pal.putpixel((9, 5), (255, 255, 0))
pal.convert("P", palette=Image.ADAPTIVE, colors=4).save("pal8.bmp")
# A red block off centre in the transparent colour; the size is not a whole number of HIMETRIC.
gif = Image.new("P", (37, 23), 0)
gif.putpalette([0, 255, 0, 255, 0, 0] + [0] * (254 * 3))
gif.paste(1, (4, 3, 30, 17))
gif.save("hole.gif", transparency=0)
