"""Builds docs/contact-sheet.png (every picture at 4x, labelled) and docs/skin-preview.png (the
faces assembled at their layout positions) from the files in resources/art/."""
import sys
from pathlib import Path

from PIL import Image, ImageDraw

import artlib as A
from draw_art import AT, WINDOW_W, WINDOW_H, normal_inside

ZOOM = 4
BACKDROP = (58, 62, 70)
LABEL = (236, 238, 242)

# Stacking order of the main window, frontmost first; the page lies behind them all.
STACK = ["picture21", "picture20", "picture18", "picture17", "picture12", "picture13", "picture11",
         "picture8", "picture7", "picture6", "picture2", "picture1", "picture9", "picture10",
         "picture16", "picture14", "picture3", "picture19", "picture15", "picture5", "picture4"]
NORMAL_FACE = {"picture3", "picture5", "picture4", "picture10", "picture11", "picture13",
               "picture6", "picture7", "picture2", "picture1", "picture9", "picture8", "picture21"}
MINI_FACE = {"picture14", "picture15", "picture16", "picture17", "picture20", "picture18",
             "picture19", "picture12"}
FILES = {"picture1": "playlist-tab.gif", "picture2": "playlist-tab.gif", "picture9": "logo.gif",
         "picture10": "button-101.bmp", "picture11": "button-104.bmp", "picture13": "button-107.bmp",
         "picture21": "button-107.bmp", "picture20": "button-110.bmp", "picture18": "button-113.bmp",
         "picture19": "button-116.bmp", "picture12": "button-119.bmp"}


def load(art, name):
    return Image.open(art / FILES.get(name, f"{name}.bmp")).convert("RGBA")


def zoom(img, factor=ZOOM):
    return img.resize((img.size[0] * factor, img.size[1] * factor), Image.NEAREST)


def page(size):
    """A stand-in for the station page: plain white with a faint grid, so the skin reads."""
    img = Image.new("RGBA", size, (255, 255, 255, 255))
    d = ImageDraw.Draw(img)
    for x in range(0, size[0], 16):
        d.line((x, 0, x, size[1]), fill=(236, 240, 246, 255))
    for y in range(0, size[1], 16):
        d.line((0, y, size[0], y), fill=(236, 240, 246, 255))
    return img


def face(art, names, size, inside):
    img = page(size)
    for name in reversed(STACK):
        if name in names:
            pic = load(art, name)
            img.alpha_composite(pic, (max(0, AT[name][0]), max(0, AT[name][1])),
                                (max(0, -AT[name][0]), max(0, -AT[name][1])))
    px = img.load()
    for y in range(size[1]):
        for x in range(size[0]):
            if not inside(x, y):
                px[x, y] = BACKDROP + (255,)
    return img


def label(draw, xy, text):
    draw.text(xy, text, font=A.font(14), fill=LABEL)


def skin_preview(art):
    normal = face(art, NORMAL_FACE, (WINDOW_W, WINDOW_H), normal_inside)
    mini = face(art, MINI_FACE, (236, 25), lambda x, y: True)
    big_normal, big_mini = zoom(normal), zoom(mini)
    w = big_normal.size[0] + 40
    h = 30 + normal.size[1] + 40 + big_normal.size[1] + 40 + mini.size[1] + 40 + big_mini.size[1] + 20
    sheet = Image.new("RGBA", (w, h), BACKDROP + (255,))
    d = ImageDraw.Draw(sheet)
    y = 8
    for title, img in (("normal mode, 1x", normal), ("normal mode, 4x", big_normal),
                       ("mini bar, 1x", mini), ("mini bar, 4x", big_mini)):
        label(d, (20, y), title)
        sheet.alpha_composite(img, (20, y + 22))
        y += 22 + img.size[1] + 18
    return sheet.convert("RGB")


def contact_sheet(art):
    items = sorted(p for p in art.iterdir() if p.suffix in (".bmp", ".gif", ".cur"))
    items += sorted(p for p in art.iterdir() if p.name.startswith("icon-300"))
    tiles = []
    for p in items:
        if p.suffix == ".bin":
            img = icon_preview(p.read_bytes())
        elif p.suffix == ".cur":
            img = icon_preview(p.read_bytes()[22:])  # past the one-entry cursor directory
        else:
            img = Image.open(p).convert("RGBA")
        tiles.append((p.name, zoom(img)))
    width, x, y, row_h = 1560, 20, 20, 0
    placed = []
    for name, img in tiles:
        tw, th = img.size[0], img.size[1] + 22
        if x + tw > width - 20 and x > 20:
            x, y, row_h = 20, y + row_h + 20, 0
        placed.append((name, img, x, y))
        x += max(tw, 120) + 20
        row_h = max(row_h, th)
    sheet = Image.new("RGBA", (width, y + row_h + 20), BACKDROP + (255,))
    d = ImageDraw.Draw(sheet)
    for name, img, x, y in placed:
        label(d, (x, y), name)
        sheet.alpha_composite(Image.new("RGBA", img.size, (120, 124, 132, 255)), (x, y + 22))
        sheet.alpha_composite(img, (x, y + 22))
    return sheet.convert("RGB")


def icon_preview(data):
    """Decodes an icon or cursor image back into RGBA (1 or 8 bits with a palette and the AND
    mask, or 32 bits with alpha)."""
    import struct
    _, w, h2, _, bits, _, _, _, _, used, _ = struct.unpack_from("<IiiHHIIiiII", data)
    h = h2 // 2
    off = 40
    palette = []
    if bits <= 8:
        palette = [data[off + 4 * i: off + 4 * i + 3] for i in range(used or 1 << bits)]
        off += 4 * (used or 1 << bits)
    stride = ((w * bits + 31) // 32) * 4
    mask_stride = ((w + 31) // 32) * 4
    mask_off = off + stride * h
    img = Image.new("RGBA", (w, h))
    for row in range(h):
        y = h - 1 - row
        for x in range(w):
            if bits == 32:
                b, g, r, a = data[off + row * stride + 4 * x: off + row * stride + 4 * x + 4]
            else:
                if bits == 8:
                    index = data[off + row * stride + x]
                else:
                    index = 1 if data[off + row * stride + x // 8] & (0x80 >> (x % 8)) else 0
                b, g, r = palette[index]
                masked = data[mask_off + row * mask_stride + x // 8] & (0x80 >> (x % 8))
                a = 0 if masked else 255
            img.putpixel((x, y), (r, g, b, a))
    return img


def main(art_dir, docs_dir):
    art, docs = Path(art_dir), Path(docs_dir)
    docs.mkdir(parents=True, exist_ok=True)
    contact_sheet(art).save(docs / "contact-sheet.png", optimize=True)
    skin_preview(art).save(docs / "skin-preview.png", optimize=True)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
