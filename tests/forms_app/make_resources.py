#!/usr/bin/python3
"""Writes the picture the runtime tests embed. Run from this folder."""
from PIL import Image

# A red block off centre in the transparent colour; the size is not a whole number of HIMETRIC.
gif = Image.new("P", (37, 23), 0)
gif.putpalette([0, 255, 0, 255, 0, 0] + [0] * (254 * 3))
gif.paste(1, (4, 3, 30, 17))
gif.save("hole.gif", transparency=0)
