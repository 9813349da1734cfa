#!/usr/bin/python3
"""Writes the small pictures the runtime tests embed. Run from this folder."""
from PIL import Image

RED, BLUE, GREEN, YELLOW, WHITE = (255, 0, 0), (0, 0, 255), (0, 255, 0), (255, 255, 0), (255, 255, 255)

# Odd width: rows carry padding, corners tell whether rows come out upside down.
rgb = Image.new("RGB", (13, 7), WHITE)
rgb.putpixel((0, 0), RED)
rgb.putpixel((12, 6), BLUE)
rgb.save("rgb24.bmp")

pal = Image.new("RGB", (10, 6), WHITE)
pal.putpixel((0, 0), GREEN)
pal.putpixel((9, 5), YELLOW)
pal.convert("P", palette=Image.ADAPTIVE, colors=4).save("pal8.bmp")

# A red block off centre in the transparent colour; the size is not a whole number of HIMETRIC.
gif = Image.new("P", (37, 23), 0)
gif.putpalette([0, 255, 0] + list(RED) + [0] * (254 * 3))
gif.paste(1, (4, 3, 30, 17))
gif.save("hole.gif", transparency=0)

