"""Draws the skin, the icon, the cursor, the splash and the banner into resources/art/.

The main window's pictures are cut from one face painted in window coordinates, so that the
pieces meet without seams and the buttons' normal looks carry exactly the strip behind them.
"""
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter

import artlib as A
from artlib import EDGE, HIGHLIGHT, INNER_EDGE, MAGENTA, mix

WINDOW_W, WINDOW_H = 308, 161   # normal mode, playlist panel closed
PANEL_TOP, PANEL_BOTTOM = 161, 441
CORNER_R = 5.5                  # CreateRoundRectRgn with an 11 x 11 corner ellipse
SHADE = (176, 199, 233)

# Where the layout puts the pictures, in pixels (twips / 15, halves to even).
AT = {
    "picture3": (-1, -1), "picture5": (56, -1), "picture4": (207, -1),
    "picture6": (0, 99), "picture7": (301, 99), "picture8": (0, 158),
    "picture2": (216, 99), "picture1": (216, 99), "picture9": (272, 123),
    "picture10": (250, 4), "picture11": (268, 4), "picture13": (286, 4), "picture21": (286, 165),
    "picture14": (0, 0), "picture15": (209, 0), "picture16": (0, 0), "picture17": (0, 24),
    "picture20": (210, 1), "picture18": (222, 1), "picture19": (210, 12), "picture12": (222, 12),
}


# ---- the window's outline ----------------------------------------------------------------

def in_round_rect(x, y, top, right, bottom):
    """Whether pixel (x, y) lies in CreateRoundRectRgn(0, top, right, bottom, 11, 11)."""
    px, py = x + 0.5, y + 0.5
    if not (0 <= px < right and top <= py < bottom):
        return False
    cx = CORNER_R if px < CORNER_R else right - CORNER_R if px > right - CORNER_R else None
    cy = top + CORNER_R if py < top + CORNER_R else bottom - CORNER_R if py > bottom - CORNER_R else None
    if cx is None or cy is None:
        return True
    return (px - cx) ** 2 + (py - cy) ** 2 <= CORNER_R ** 2


def normal_inside(x, y):
    """Inside the normal-mode window: its rounded outline clipped to the client area."""
    return x < WINDOW_W and y < WINDOW_H and in_round_rect(x, y, 0, WINDOW_W + 1, WINDOW_H + 1)


def panel_inside(x, y):
    return x < WINDOW_W and in_round_rect(x, y, PANEL_TOP, WINDOW_W + 1, PANEL_BOTTOM)


def rim(inside, x, y):
    """Outline colour for pixels near the edge, lit from the top left; None deeper in."""
    if not inside(x, y):
        return None
    near = [(dx, dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1) if not inside(x + dx, y + dy)]
    if near:
        return EDGE
    far = [(dx, dy) for dx in range(-2, 3) for dy in range(-2, 3) if not inside(x + dx, y + dy)]
    if far:
        return HIGHLIGHT if any(dx < 0 or dy < 0 for dx, dy in far) else SHADE
    return None


# ---- faces --------------------------------------------------------------------------------

def strip(t):
    """Title strip colour t rows below its top outline: gloss, gradient, darker lower edge."""
    if t <= 0:
        return EDGE
    if t == 1:
        return HIGHLIGHT
    if t <= 25:
        return mix((232, 240, 250), (203, 220, 242), (t - 2) / 23)
    return {26: (176, 199, 233), 27: INNER_EDGE}.get(t, EDGE)


def mini(r):
    """Mini bar colour at row r; the top and bottom rows are the bar's edge lines."""
    if r <= 0:
        return A.MINI_TOP_LINE
    if r >= 24:
        return A.MINI_BOTTOM_LINE
    if r == 1:
        return HIGHLIGHT
    return mix((232, 240, 250), (203, 220, 242), (r - 2) / 20) if r <= 22 else SHADE


def side_face(i, n):
    return mix(FACE_SIDE_LIGHT, FACE_SIDE_DARK, i / max(1, n - 1))


FACE_SIDE_LIGHT, FACE_SIDE_DARK = A.FACE_TOP, (200, 218, 241)


def paint(size, at, colour_at):
    img = Image.new("RGB", size)
    px = img.load()
    for y in range(size[1]):
        for x in range(size[0]):
            px[x, y] = colour_at(at[0] + x, at[1] + y)
    return img


def title_colour(outside):
    def colour(x, y):
        if not normal_inside(x, y):
            return outside
        return rim(normal_inside, x, y) or strip(y)
    return colour


def lower_edge_colour(x, y):
    """The edge pieces beside and below the page, with the window's bottom corners."""
    if y >= WINDOW_H:
        return EDGE
    if not normal_inside(x, y):
        return EDGE
    r = rim(normal_inside, x, y)
    if r:
        return r
    if y in (99, 158):  # where the page meets the frame
        return INNER_EDGE
    if x <= 5:
        return INNER_EDGE if x == 5 else side_face(x - 2, 3)
    if x >= 301:
        return INNER_EDGE if x == 301 else side_face(x - 302, 4)
    return side_face(1, 3)


# ---- glyphs and button looks --------------------------------------------------------------

GLYPHS = {
    "dash": ((5, 9), ["#######", "#######"]),
    "rectangle": ((4, 6), ["#########", "#########", "#.......#", "#.......#", "#.......#",
                           "#.......#", "#########"]),
    "cross": ((5, 6), ["##...##", "###.###", ".#####.", "..###..", ".#####.", "###.###",
                       "##...##"]),
    "bang": ((5, 1), ["##", "##", "##", "##", "##", "..", "##", "##"]),
    "small cross": ((3, 2), ["##..##", ".####.", "..##..", "..##..", ".####.", "##..##"]),
    "small dash": ((3, 4), ["######", "######"]),
    "windows": ((2, 1), ["..######", "..######", "..#....#", "######.#", "########",
                         "#....#..", "#....#..", "######.."]),
}


def glyph_pixels(name):
    (ox, oy), rows = GLYPHS[name]
    return {(ox + x, oy + y) for y, row in enumerate(rows) for x, ch in enumerate(row) if ch == "#"}


def button(size, background, glyph, look):
    """One look of a button: background(y) is the face behind it, look is normal/hover/pressed."""
    w, h = size
    img = Image.new("RGB", size)
    px = img.load()
    for y in range(h):
        for x in range(w):
            bg = background(y)
            corner = x in (0, w - 1) and y in (0, h - 1)
            frame = (x in (0, w - 1) or y in (0, h - 1)) and not corner
            top_left = x == 0 or y == 0
            if look == "normal" or corner:
                px[x, y] = bg
            elif look == "hover":
                px[x, y] = ((255, 255, 255) if top_left else (234, 242, 251)) if frame else mix(bg, (255, 255, 255), 0.45)
            else:
                if frame:
                    px[x, y] = (70, 110, 176) if top_left else (108, 146, 204)
                elif x == 1 or y == 1:  # the sunken face's inner shadow
                    px[x, y] = (150, 180, 224)
                else:
                    px[x, y] = mix(bg, (164, 192, 232), 0.8)
    ink = glyph_pixels(glyph)
    for x, y in ink:
        px[x, y] = A.GLYPH
    for x, y in ink:
        lit = (x + 1, y + 1)
        if lit not in ink and lit[0] < w - 1 and lit[1] < h - 1:
            px[lit] = mix(px[lit], A.GLYPH_LIGHT, 0.65)
    return img


BUTTONS = [  # first id, size, glyph, face behind the normal look (by row inside the button)
    (101, (17, 19), "dash", lambda y: strip(4 + y)),
    (104, (17, 19), "rectangle", lambda y: strip(4 + y)),
    (107, (17, 19), "cross", lambda y: strip(4 + y)),
    (110, (12, 10), "bang", lambda y: mini(1 + y)),
    (113, (12, 10), "small cross", lambda y: mini(1 + y)),
    (116, (12, 10), "small dash", lambda y: mini(12 + y)),
    (119, (12, 10), "windows", lambda y: mini(12 + y)),
]


def button_looks():
    looks = {}
    for first, size, glyph, bg in BUTTONS:
        for i, look in enumerate(("normal", "hover", "pressed")):
            looks[first + i] = button(size, bg, glyph, look)
    return looks


# ---- the pictures of the main window ---------------------------------------------------------

def brand_mask():
    return A.pixel_text("Harlune网络", 10, tracking=-1)


def picture3():
    img = paint((75, 30), AT["picture3"], title_colour(MAGENTA))
    A.paste_disc(img, 16, (3, 7))
    text = brand_mask()
    left = 71 - text.size[0]  # the name's last column is x 70
    top = 15 - text.size[1] // 2
    img.paste(A.BRAND_BLUE, (left, top), text)
    return img


def picture8():
    at = AT["picture8"]

    def colour(x, y):
        if y < PANEL_TOP:
            return lower_edge_colour(x, y)
        if not panel_inside(x, y):
            return EDGE
        return rim(panel_inside, x, y) or strip(y - PANEL_TOP)
    img = paint((308, 29), at, colour)
    title = A.pixel_text("播放列表", 12)
    img.paste(A.BRAND_BLUE, (12, 3 + 13 - title.size[1] // 2), title)
    return img


def playlist_tab():
    w, h = 93, 24
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = mix((150, 186, 234), (98, 140, 208), y / (h - 1))
    d = ImageDraw.Draw(img)
    d.line((0, 0, 83, 0), fill=INNER_EDGE)
    d.line((1, 1, 82, 1), fill=(184, 208, 242))  # gloss under the top line
    d.line((0, h - 1, 83, h - 1), fill=(70, 110, 176))
    d.line((0, 0, 0, h - 1), fill=INNER_EDGE)
    d.line((83, 0, 83, h - 1), fill=(70, 110, 176))  # separator: dark, then lit
    d.line((84, 0, 84, h - 1), fill=HIGHLIGHT)
    for x, y in ((0, 0), (0, h - 1)):
        px[x, y] = (200, 218, 241)
    text = A.pixel_text("播放列表", 12)
    ring = A.outline_of(text)
    icon = [(0, 0, 5, 1), (0, 3, 5, 4), (0, 6, 5, 7)]  # a small list: three bars
    group_w = 7 + 4 + text.size[0]
    x0 = (83 - group_w) // 2
    ty = (h - text.size[1]) // 2
    for l, t, r, b in icon:
        d.rectangle((x0 + l - 1, ty + 1 + t - 1, x0 + r + 1, ty + 1 + b + 1), fill=(36, 60, 110))
    for l, t, r, b in icon:
        d.rectangle((x0 + l, ty + 1 + t, x0 + r, ty + 1 + b), fill=(255, 255, 255))
    tx = x0 + 11
    img.paste((44, 74, 136), (tx - 1, ty - 1), ring)
    img.paste((255, 255, 255), (tx, ty), text)
    return img


def picture9():
    w, h = 43, 38
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = side_face(y, h)
    d = ImageDraw.Draw(img)
    d.line((0, 0, 0, h - 1), fill=INNER_EDGE)
    d.line((27, 0, 27, h - 1), fill=(70, 110, 176))  # separator, in line with the tab's
    d.line((28, 0, 28, h - 1), fill=HIGHLIGHT)
    A.paste_disc(img, 24, (2, 5))
    return img


def picture14():
    img = Image.new("RGB", (29, 25))
    px = img.load()
    for y in range(25):
        for x in range(29):
            px[x, y] = mini(y)
    d = ImageDraw.Draw(img)
    d.line((0, 1, 0, 23), fill=EDGE)
    d.line((1, 2, 1, 22), fill=HIGHLIGHT)
    d.line((27, 1, 27, 23), fill=INNER_EDGE)
    d.line((28, 1, 28, 23), fill=HIGHLIGHT)
    A.paste_disc(img, 19, (5, 3))
    return img


def picture15(looks):
    img = Image.new("RGB", (27, 25))
    px = img.load()
    for y in range(25):
        for x in range(27):
            px[x, y] = mini(y)
    d = ImageDraw.Draw(img)
    d.line((0, 1, 0, 23), fill=INNER_EDGE)
    d.line((25, 1, 25, 23), fill=SHADE)
    d.line((26, 1, 26, 23), fill=EDGE)
    for name, rid in (("picture20", 110), ("picture18", 113), ("picture19", 116), ("picture12", 119)):
        x, y = AT[name]
        img.paste(looks[rid], (x - AT["picture15"][0], y - AT["picture15"][1]))
    return img


def line(colour):
    return Image.new("RGB", (236, 1), colour)


def skin_pictures(looks):
    return {
        "picture3": picture3(),
        "picture5": paint((174, 30), AT["picture5"], title_colour(EDGE)),
        "picture4": paint((102, 30), AT["picture4"], title_colour(EDGE)),
        "picture6": paint((6, 64), AT["picture6"], lower_edge_colour),
        "picture7": paint((7, 64), AT["picture7"], lower_edge_colour),
        "picture8": picture8(),
        "picture14": picture14(),
        "picture15": picture15(looks),
        "picture16": line(A.MINI_TOP_LINE),
        "picture17": line(A.MINI_BOTTOM_LINE),
    }


# ---- icon, cursor, splash, banner -------------------------------------------------------------

def icon_images():
    """Six icon images in the group's order: 8-bit 48, 32, 16, then 32-bit 48, 32, 16."""
    discs = {s: A.logo_disc(s) for s in (48, 32, 16)}
    return ([(s, 8, A.icon_image_8(discs[s])) for s in (48, 32, 16)]
            + [(s, 32, A.icon_image_32(discs[s])) for s in (48, 32, 16)])


HAND_FILL = [  # white areas of the hand, (left, top, right, bottom) inclusive
    (4, 1, 6, 13),     # index finger; its outline's top centre is the hot spot (5, 0)
    (8, 6, 10, 13), (12, 7, 14, 13), (16, 9, 17, 13),  # the other fingers
    (4, 12, 17, 19), (5, 20, 16, 21),                    # palm
    (1, 11, 3, 13), (2, 14, 4, 16), (3, 17, 4, 18),      # thumb
    (6, 22, 15, 23),                                     # wrist
]


def hand_cursor_rows():
    w, h = 32, 32
    fill = {(x, y) for l, t, r, b in HAND_FILL for x in range(l, r + 1) for y in range(t, b + 1)}
    rows = []
    for y in range(h):
        row = ""
        for x in range(w):
            if (x, y) in fill:
                row += "o"
            elif any((x + dx, y + dy) in fill for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                row += "#"
            else:
                row += "."
        rows.append(row)
    return rows


def splash():
    """279 x 279, the disc inside the window's elliptic outline (8, 7)-(273, 272), and a ring of
    transparency between them."""
    size, diameter = 279, 260
    at = (141 - diameter // 2, 140 - diameter // 2)
    disc = A.logo_disc(diameter)
    img = Image.new("RGB", (size, size), (0, 0, 0))
    alpha = Image.new("L", (size, size), 0)
    img.paste(disc.convert("RGB"), at)
    alpha.paste(disc.getchannel("A"), at)
    quant = img.quantize(colors=72, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = quant.getpalette()[: 3 * 255]
    pal += [0] * (768 - len(pal))
    pal[765:768] = list(MAGENTA)
    quant.putpalette(pal)
    qpx, apx = quant.load(), alpha.load()
    for y in range(size):
        for x in range(size):
            if apx[x, y] < 128:
                qpx[x, y] = 255
    return quant


def banner():
    w, h = 374, 65
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = mix((112, 172, 236), (214, 236, 252), y / 44)
    d = ImageDraw.Draw(img)
    # clouds, soft
    clouds = Image.new("L", (w, h), 0)
    cd = ImageDraw.Draw(clouds)
    for cx, cy, r in ((70, 14, 7), (80, 11, 9), (92, 15, 6), (196, 9, 5), (205, 7, 7), (215, 10, 5),
                      (268, 18, 5), (276, 15, 6)):
        cd.ellipse((cx - r * 1.6, cy - r, cx + r * 1.6, cy + r), fill=230)
    img.paste((255, 255, 255), mask=clouds.filter(ImageFilter.GaussianBlur(1.2)))
    # far and near hills
    import math
    far = [(x, 44 - 7 * math.sin(x / 38.0 + 0.6) - 4 * math.sin(x / 13.0)) for x in range(-1, w + 2)]
    d.polygon(far + [(w + 1, h), (-1, h)], fill=(138, 196, 104))
    near = [(x, 52 - 6 * math.sin(x / 55.0 + 2.2) - 2 * math.sin(x / 17.0)) for x in range(-1, w + 2)]
    d.polygon(near + [(w + 1, h), (-1, h)], fill=(86, 164, 66))
    for x in range(0, w, 9):  # a few tufts of grass in the foreground
        y = 60 + (x * 7) % 4
        d.line((x, y, x + 1, y - 2), fill=(64, 138, 50))
    # the fence on the left
    for x in range(2, 120, 10):
        top = 40 + round(2 * math.sin(x / 20.0))
        d.polygon([(x, top + 2), (x + 2, top), (x + 4, top + 2), (x + 4, top + 20), (x, top + 20)],
                  fill=(252, 252, 248), outline=(150, 160, 170))
    for rail in (45, 53):
        d.rectangle((0, rail, 122, rail + 2), fill=(246, 246, 240), outline=(150, 160, 170))
    # house with a tower, and trees
    d.ellipse((292, 22, 316, 50), fill=(60, 140, 60), outline=(40, 104, 44))
    d.rectangle((302, 48, 305, 58), fill=(120, 80, 44))
    d.rectangle((310, 32, 350, 58), fill=(252, 240, 214), outline=(150, 110, 80))
    d.polygon([(306, 33), (330, 18), (354, 33)], fill=(206, 74, 54), outline=(150, 48, 36))
    d.rectangle((336, 14, 352, 58), fill=(246, 232, 200), outline=(150, 110, 80))
    d.polygon([(333, 15), (344, -2), (355, 15)], fill=(134, 84, 186), outline=(90, 50, 140))
    d.ellipse((340, 20, 348, 28), fill=(255, 214, 90), outline=(150, 110, 80))  # round window
    d.rectangle((316, 38, 324, 46), fill=(150, 204, 246), outline=(150, 110, 80))
    d.line((320, 38, 320, 46), fill=(150, 110, 80))
    d.rectangle((340, 44, 348, 58), fill=(160, 100, 56), outline=(120, 72, 40))
    d.ellipse((356, 30, 374, 52), fill=(74, 156, 64), outline=(48, 116, 46))
    d.rectangle((364, 50, 367, 60), fill=(120, 80, 44))
    # the logo under the about window's hot spot at (8, 8), 41 x 41
    A.paste_disc(img, 41, (8, 8))
    # brand name and slogan in orange with a white outline
    name = A.text_mask("Harlune网络", 20)
    slogan = A.text_mask("随心畅听", 13)
    cx = 190
    for mask, top in ((name, 9), (slogan, 36)):
        left = cx - mask.size[0] // 2
        pad = Image.new("L", (mask.size[0] + 6, mask.size[1] + 6), 0)
        pad.paste(mask, (3, 3))
        img.paste((255, 255, 255), (left - 3, top - 3), A.glow(pad))
        img.paste((255, 128, 16), (left, top), mask)
    return img


def main(out_dir):
    out = Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    looks = button_looks()
    for rid, img in looks.items():
        dib = A.dib_8(img) if rid <= 109 else A.dib_24(img)
        (out / f"button-{rid}.bmp").write_bytes(A.bmp_file(dib))
    for name, img in skin_pictures(looks).items():
        (out / f"{name}.bmp").write_bytes(A.bmp_file(A.dib_24(img)))
    (out / "banner.bmp").write_bytes(A.bmp_file(A.dib_24(banner())))

    tab = playlist_tab().quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    (out / "playlist-tab.gif").write_bytes(A.gif_bytes(tab))
    logo = picture9().quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    (out / "logo.gif").write_bytes(A.gif_bytes(logo))
    (out / "splash.gif").write_bytes(A.gif_bytes(splash(), transparent=255))

    (out / "hand.cur").write_bytes(A.cursor_file(hand_cursor_rows(), (5, 0)))
    entries = []
    for i, (size, bits, data) in enumerate(icon_images()):
        rid = 30001 + i
        (out / f"icon-{rid}.bin").write_bytes(data)
        entries.append((size, bits, len(data), rid))
    (out / "icon-group.bin").write_bytes(A.icon_group(entries))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/art")
