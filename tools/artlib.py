"""Shared pieces of the art: colours, the monogram disc, and writers for the Windows formats.

Every writer produces the same bytes for the same pixels (no timestamps, no library versions).
"""
import math
import struct

from PIL import Image, ImageDraw, ImageFont, ImageFilter

CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

# The skin's palette: faces run from FACE_TOP down to EDGE on the window's outline.
EDGE = (86, 135, 202)
FACE_TOP = (223, 233, 246)
HIGHLIGHT = (246, 250, 254)
INNER_EDGE = (140, 170, 215)
MINI_TOP_LINE = (113, 146, 195)
MINI_BOTTOM_LINE = (41, 64, 97)
GLYPH = (38, 60, 112)
GLYPH_LIGHT = (250, 252, 255)
MAGENTA = (255, 0, 255)
BRAND_BLUE = (30, 78, 160)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def font(size, index=0):
    return ImageFont.truetype(CJK_FONT, size, index=index)


# ---- the monogram disc ---------------------------------------------------------------------

# The script "H" as brush strokes in a unit square: (p0, c1, c2, p1, width at p0, width at p1).
MONOGRAM_STROKES = [
    ((0.14, 0.36), (0.14, 0.18), (0.32, 0.10), (0.43, 0.17), 0.030, 0.055),  # entry flourish
    ((0.43, 0.17), (0.40, 0.40), (0.34, 0.64), (0.28, 0.83), 0.100, 0.070),  # left downstroke
    ((0.28, 0.83), (0.25, 0.93), (0.13, 0.92), (0.15, 0.82), 0.060, 0.030),  # left foot curl
    ((0.80, 0.11), (0.76, 0.11), (0.73, 0.13), (0.72, 0.18), 0.030, 0.060),  # right head hook
    ((0.72, 0.18), (0.69, 0.40), (0.64, 0.66), (0.61, 0.82), 0.090, 0.065),  # right downstroke
    ((0.61, 0.82), (0.58, 0.94), (0.74, 0.93), (0.86, 0.80), 0.060, 0.030),  # right tail
    ((0.20, 0.58), (0.36, 0.45), (0.56, 0.60), (0.80, 0.47), 0.040, 0.050),  # crossbar wave
]


def bezier(p0, c1, c2, p1, t):
    u = 1 - t
    return tuple(u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d
                 for a, b, c, d in zip(p0, c1, c2, p1))


def draw_monogram(mask, box, min_width_px=0.0):
    """Paints the letter's strokes into an L image, inside box = (x0, y0, size)."""
    x0, y0, size = box
    d = ImageDraw.Draw(mask)
    for p0, c1, c2, p1, w0, w1 in MONOGRAM_STROKES:
        steps = max(24, int(size * 0.6))
        for i in range(steps + 1):
            t = i / steps
            x, y = bezier(p0, c1, c2, p1, t)
            r = max((w0 + (w1 - w0) * t) * size * 1.2, min_width_px) / 2
            cx, cy = x0 + x * size, y0 + y * size
            d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=255)


def radial(size, centre, stops):
    """An RGB image whose colour follows stops [(distance, rgb)] from centre (unit coordinates)."""
    img = Image.new("RGB", (size, size))
    px = img.load()
    cx, cy = centre[0] * size, centre[1] * size
    for y in range(size):
        for x in range(size):
            dist = math.hypot(x + 0.5 - cx, y + 0.5 - cy) / size
            for (d0, c0), (d1, c1) in zip(stops, stops[1:]):
                if dist <= d1:
                    px[x, y] = mix(c0, c1, max(0.0, (dist - d0) / (d1 - d0)))
                    break
            else:
                px[x, y] = stops[-1][1]
    return img


def logo_disc(diameter, supersample=4):
    """The glossy purple disc with the white monogram, as RGBA with soft edges.

    The light comes from the top left: the body brightens there, the gloss sits high, and the
    letter casts its shadow down and to the right.
    """
    s = diameter * supersample
    body = radial(s, (0.36, 0.30), [(0.0, (196, 140, 238)), (0.35, (138, 74, 196)),
                                    (0.62, (88, 34, 148)), (0.80, (60, 18, 108))])
    disc = Image.new("L", (s, s), 0)
    ImageDraw.Draw(disc).ellipse((0, 0, s - 1, s - 1), fill=255)

    # A darker rim keeps the edge crisp on light backgrounds.
    rim_w = max(supersample, round(s * 0.035))
    rim = Image.new("L", (s, s), 0)
    ImageDraw.Draw(rim).ellipse((0, 0, s - 1, s - 1), fill=255)
    ImageDraw.Draw(rim).ellipse((rim_w, rim_w, s - 1 - rim_w, s - 1 - rim_w), fill=0)
    body.paste((52, 14, 92), mask=rim)

    # A faint lilac bounce light along the lower edge.
    bounce = Image.new("L", (s, s), 0)
    ImageDraw.Draw(bounce).ellipse((s * 0.16, s * 0.50, s * 0.84, s * 0.96), fill=70)
    ImageDraw.Draw(bounce).ellipse((s * 0.14, s * 0.40, s * 0.86, s * 0.90), fill=0)
    bounce = bounce.filter(ImageFilter.GaussianBlur(s * 0.03))
    body.paste((214, 170, 250), mask=bounce)

    inset = 0.17 * s
    letter_box = (inset, inset * 0.95, s - 2 * inset)
    min_w = 1.5 * supersample if diameter <= 24 else 0.0
    letter = Image.new("L", (s, s), 0)
    draw_monogram(letter, letter_box, min_w)
    shadow = letter.filter(ImageFilter.GaussianBlur(s * 0.012))
    shadow = Image.eval(shadow, lambda v: v * 150 // 255)
    shift = max(supersample, round(s * 0.018))
    body.paste((40, 8, 72), (shift, shift), mask=shadow)
    body.paste((255, 255, 255), mask=letter)

    gloss = Image.new("L", (s, s), 0)
    gd = ImageDraw.Draw(gloss)
    top, bottom = s * 0.05, s * 0.50
    for y in range(int(top), int(bottom)):
        a = round(150 * (1 - (y - top) / (bottom - top)) ** 1.4) + 12
        gd.line((0, y, s, y), fill=a)
    shape = Image.new("L", (s, s), 0)
    ImageDraw.Draw(shape).ellipse((s * 0.13, top, s * 0.87, bottom + s * 0.06), fill=255)
    gloss = Image.composite(gloss, Image.new("L", (s, s), 0), shape)
    body.paste((255, 255, 255), mask=gloss)

    out = body.convert("RGBA")
    out.putalpha(disc)
    return out.resize((diameter, diameter), Image.LANCZOS)


def paste_disc(img, diameter, at):
    disc = logo_disc(diameter)
    img.paste(disc, at, disc)


# ---- text -------------------------------------------------------------------------------------

def text_mask(text, size, index=0):
    """Text as an L mask cropped to its ink."""
    f = font(size, index)
    l, t, r, b = f.getbbox(text)
    m = Image.new("L", (r - l + 2, b - t + 2), 0)
    ImageDraw.Draw(m).text((1 - l, 1 - t), text, font=f, fill=255)
    return m.crop(m.getbbox())


def pixel_text(text, size, tracking=0):
    """Unsmoothed text, one glyph at a time so the tracking can be tightened at tiny sizes."""
    f = font(size)
    m = Image.new("L", (int(f.getlength(text)) + 4 * len(text) + 4, size * 2), 0)
    d = ImageDraw.Draw(m)
    d.fontmode = "1"
    x = 1
    for ch in text:
        d.text((x, 1), ch, font=f, fill=255)
        x += f.getlength(ch) + tracking
    return m.crop(m.getbbox())


def glow(mask, radius=2):
    """A soft rounded halo around text, for outlines on busy backgrounds."""
    halo = mask.filter(ImageFilter.MaxFilter(2 * radius - 1)).filter(ImageFilter.GaussianBlur(radius / 2))
    return Image.eval(halo, lambda v: min(255, v * 2))


def outline_of(mask):
    """The mask grown by one pixel up, down, left and right (no diagonals, so small glyphs keep
    their counters); paste it one pixel up and left of the text."""
    grown = Image.new("L", (mask.size[0] + 2, mask.size[1] + 2), 0)
    for dx, dy in ((0, 1), (2, 1), (1, 0), (1, 2), (1, 1)):
        grown.paste(255, (dx, dy), mask)
    return grown


# ---- writers ----------------------------------------------------------------------------------

def _rows_bottom_up(height):
    return range(height - 1, -1, -1)


def dib_24(img):
    """A packed DIB: BITMAPINFOHEADER and 24-bit bottom-up rows padded to four bytes."""
    img = img.convert("RGB")
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    px = img.load()
    rows = bytearray()
    for y in _rows_bottom_up(h):
        row = bytearray()
        for x in range(w):
            r, g, b = px[x, y]
            row += bytes((b, g, r))
        rows += row + bytes(stride - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return header + bytes(rows)


def dib_8(img):
    """A packed DIB with 8 bits per pixel and a full 256-entry palette (sorted, zero padded)."""
    img = img.convert("RGB")
    w, h = img.size
    colours = sorted(set(img.getdata()))
    if len(colours) > 256:
        raise ValueError("more than 256 colours")
    index = {c: i for i, c in enumerate(colours)}
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours) + bytes(4 * (256 - len(colours)))
    stride = (w + 3) & ~3
    px = img.load()
    rows = bytearray()
    for y in _rows_bottom_up(h):
        row = bytes(index[px[x, y]] for x in range(w))
        rows += row + bytes(stride - w)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    return header + palette + bytes(rows)


def bmp_file(dib):
    """Wraps a packed DIB into a .bmp file as windres expects it."""
    header_size = struct.unpack_from("<I", dib)[0]
    bits, used = struct.unpack_from("<H", dib, 14)[0], struct.unpack_from("<I", dib, 32)[0]
    palette = 4 * (used or (1 << bits if bits <= 8 else 0))
    offset = 14 + header_size + palette
    return b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, offset) + dib


def _and_mask(alpha, w, h, threshold=128):
    stride = ((w + 31) // 32) * 4
    px = alpha.load()
    out = bytearray()
    for y in _rows_bottom_up(h):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y] < threshold:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def icon_image_32(rgba):
    """An icon image (RT_ICON data): 32-bit BGRA with alpha, then the AND mask."""
    w, h = rgba.size
    px = rgba.load()
    xor = bytearray()
    for y in _rows_bottom_up(h):
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
    mask = _and_mask(rgba.getchannel("A"), w, h)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + mask


def icon_image_8(rgba):
    """An icon image with a 256-entry palette; transparency lives only in the AND mask."""
    w, h = rgba.size
    alpha = rgba.getchannel("A")
    solid = Image.new("RGB", (w, h), (0, 0, 0))
    solid.paste(rgba.convert("RGB"), mask=Image.eval(alpha, lambda v: 255 if v >= 128 else 0))
    quant = solid.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = quant.getpalette()[: 3 * 256]
    pal += [0] * (768 - len(pal))
    palette = b"".join(bytes((pal[3 * i + 2], pal[3 * i + 1], pal[3 * i], 0)) for i in range(256))
    stride = (w + 3) & ~3
    qpx, apx = quant.load(), alpha.load()
    black = min(range(256), key=lambda i: sum(pal[3 * i:3 * i + 3]))
    xor = bytearray()
    for y in _rows_bottom_up(h):
        row = bytes(qpx[x, y] if apx[x, y] >= 128 else black for x in range(w))
        xor += row + bytes(stride - w)
    mask = _and_mask(alpha, w, h)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    return header + palette + bytes(xor) + mask


def icon_group(entries):
    """RT_GROUP_ICON data: entries are (width, bits, data size, resource id)."""
    out = struct.pack("<HHH", 0, 1, len(entries))
    for w, bits, size, rid in entries:
        out += struct.pack("<BBBBHHIH", w % 256, w % 256, 0, 0, 1, bits, size, rid)
    return out


def cursor_file(rows, hotspot):
    """A monochrome .cur file from rows of '#' (black), 'o' (white) and '.' (transparent)."""
    h, w = len(rows), len(rows[0])
    stride = ((w + 31) // 32) * 4
    xor, andm = bytearray(), bytearray()
    for y in _rows_bottom_up(h):
        xr, ar = bytearray(stride), bytearray(stride)
        for x, ch in enumerate(rows[y]):
            bit = 0x80 >> (x % 8)
            if ch == "o":
                xr[x // 8] |= bit
            elif ch == ".":
                ar[x // 8] |= bit
        xor += xr
        andm += ar
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    image = header + palette + bytes(xor) + bytes(andm)
    directory = struct.pack("<HHH", 0, 2, 1)
    directory += struct.pack("<BBBBHHII", w, h, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + image


def gif_bytes(img, transparent=None):
    """Writes a P image as a one-frame GIF89a; transparent is the palette index or None."""
    import io
    buf = io.BytesIO()
    args = {"format": "GIF", "optimize": False}
    if transparent is not None:
        args["transparency"] = transparent
    img.save(buf, **args)
    return buf.getvalue()
