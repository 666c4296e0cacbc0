#!/usr/bin/env python3
"""Writes the SVG sources of the small state images of both programs.

Buttons come in normal / hover / pressed looks that share one drawing, so
they are made here from a few templates instead of being copied by hand;
the unique pictures (back picture, panels, mascot, icons) are hand-written
SVG files beside this script. Usage: variants.py OUTDIR; writes
OUTDIR/vstorm/*.svg and OUTDIR/uninstall/*.svg, one file per PNG, named
like the PNG it becomes.
"""

import math
import os
import sys

SANS = "Noto Sans CJK SC"
SERIF = "Noto Serif CJK SC"


def svg(width, height, body, defs=""):
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
        f'viewBox="0 0 {width} {height}">\n<defs>{defs}</defs>\n{body}\n</svg>\n'
    )


def label(x, y, text, size, fill, family=SANS, weight="normal", extra=""):
    return (
        f'<text x="{x}" y="{y}" font-family="{family}" font-size="{size}" '
        f'font-weight="{weight}" fill="{fill}" text-anchor="middle" {extra}>{text}</text>'
    )


def baseline(centre_y, size):
    # CJK ideographs sit about 0.38 em above the baseline at their middle.
    return round(centre_y + 0.38 * size, 2)


# ---------------------------------------------------------------------------
# vstorm: caption bar buttons (25 x 25) on the dark teal caption bar.

CAPTION_GLYPHS = {
    "close": '<path d="M8.5 8.5 L16.5 16.5 M16.5 8.5 L8.5 16.5" stroke="{c}" '
             'stroke-width="1.6" stroke-linecap="round" fill="none"/>',
    "minimize": '<rect x="8" y="15" width="9" height="2" fill="{c}"/>',
    "maximize": '<rect x="8.5" y="8.5" width="8" height="8" stroke="{c}" fill="none"/>'
                '<rect x="8" y="8" width="9" height="2" fill="{c}"/>',
    "restore": '<path d="M10.5 10 V7.5 H17.5 V14.5 H15" stroke="{c}" fill="none"/>'
               '<rect x="7.5" y="10.5" width="7" height="7" stroke="{c}" fill="none"/>'
               '<rect x="7" y="10" width="8" height="2" fill="{c}"/>',
    "fullscreen": '<path d="M7 11 V7 H11 M14 7 H18 V11 M18 14 V18 H14 M11 18 H7 V14" '
                  'stroke="{c}" stroke-width="1.6" fill="none"/>',
}

# The speaker: its body, then waves for sound on or a cross for muted.
SPEAKER = '<path d="M6.5 10.3 H9.3 L12.8 7.3 V17.7 L9.3 14.7 H6.5 Z" fill="{c}"/>'
CAPTION_GLYPHS["sound"] = SPEAKER + (
    '<path d="M15 10.2 Q16.4 12.5 15 14.8 M16.9 8.4 Q19.5 12.5 16.9 16.6" stroke="{c}" '
    'stroke-width="1.4" stroke-linecap="round" fill="none"/>')
CAPTION_GLYPHS["muted"] = SPEAKER + (
    '<path d="M15.2 10.4 L19.2 14.6 M19.2 10.4 L15.2 14.6" stroke="{c}" '
    'stroke-width="1.5" stroke-linecap="round" fill="none"/>')


def gear_path(cx, cy, outer, inner, hole, teeth):
    points = []
    for i in range(teeth * 4):
        angle = 2 * math.pi * i / (teeth * 4) - math.pi / 2
        radius = outer if i % 4 in (1, 2) else inner
        points.append(f"{cx + radius * math.cos(angle):.2f} {cy + radius * math.sin(angle):.2f}")
    ring = "M" + " L".join(points) + " Z"
    circle = (f"M{cx + hole} {cy} A{hole} {hole} 0 1 0 {cx - hole} {cy} "
              f"A{hole} {hole} 0 1 0 {cx + hole} {cy} Z")
    return ring + " " + circle


CAPTION_GLYPHS["tools"] = ('<path d="' + gear_path(12.5, 12.5, 6.6, 4.8, 2.0, 8) +
                           '" fill="{c}" fill-rule="evenodd"/>')


def caption_button(glyph, state):
    close = glyph == "close"
    background = ""
    colour = "#c5d5d9"
    shift = ""
    if state == "hover":
        fill = "#cf463c" if close else "#ffffff"
        opacity = "1" if close else "0.16"
        background = f'<rect width="25" height="25" fill="{fill}" fill-opacity="{opacity}"/>'
        colour = "#ffffff"
    elif state == "pressed":
        fill = "#9c2c25" if close else "#000000"
        opacity = "1" if close else "0.28"
        background = f'<rect width="25" height="25" fill="{fill}" fill-opacity="{opacity}"/>'
        colour = "#e6eef0"
        shift = ' transform="translate(0 1)"'
    # A faint dark copy under the glyph keeps it legible on the lighter
    # top of the bar.
    shadow = CAPTION_GLYPHS[glyph].format(c="#0b1416")
    body = (background +
            f'<g opacity="0.45" transform="translate(0 1)"><g{shift}>{shadow}</g></g>' +
            f'<g{shift}>' + CAPTION_GLYPHS[glyph].format(c=colour) + "</g>")
    return svg(25, 25, body)


# vstorm: caption link strips (82 x 22, two 41 x 22 halves: normal | hover).

def caption_link(text, accent):
    defs = ('<linearGradient id="gold" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#fbe3a0"/><stop offset="1" stop-color="#d89c3a"/>'
            '</linearGradient>')
    normal_text = "#f1c463" if accent else "#d6e3e6"
    y = baseline(11, 12)
    body = (
        '<rect x="1.5" y="2.5" width="38" height="17" rx="3" fill="#ffffff" fill-opacity="0.05" '
        'stroke="#ffffff" stroke-opacity="0.18"/>'
        + label(20.5, y, text, 12, normal_text) +
        '<g transform="translate(41 0)">'
        '<rect x="1.5" y="2.5" width="38" height="17" rx="3" fill="url(#gold)" stroke="#fff0c4" '
        'stroke-opacity="0.8"/>'
        + label(20.5, y, text, 12, "#2a1904", weight="bold") +
        "</g>"
    )
    return svg(82, 22, body, defs)


# vstorm: link tabs of the back picture (306 x 49, two 153 x 49 halves).
# Their bottom rows slide under the login window, so the tab reads as
# standing on the panel's top edge.

TAB_PATH = "M2.5 49 L9.2 11.5 Q10.4 5.5 16.5 5.5 H136.5 Q142.6 5.5 143.8 11.5 L150.5 49 Z"


def back_tab(text):
    defs = (
        '<linearGradient id="n" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#2d4056"/><stop offset="0.5" stop-color="#1a2735"/>'
        '<stop offset="1" stop-color="#0f1823"/>'
        '</linearGradient>'
        '<linearGradient id="h" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#4f86b6"/><stop offset="0.6" stop-color="#224a70"/>'
        '<stop offset="1" stop-color="#15304c"/></linearGradient>'
        '<linearGradient id="ngold" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#f8e6b0"/><stop offset="1" stop-color="#cf9e4a"/>'
        '</linearGradient>'
        '<radialGradient id="spark" cx="76.5" cy="6" r="70" gradientUnits="userSpaceOnUse">'
        '<stop offset="0" stop-color="#d6f1ff" stop-opacity="0.55"/>'
        '<stop offset="1" stop-color="#d6f1ff" stop-opacity="0"/></radialGradient>'
        '<filter id="glow" x="-20%" y="-50%" width="140%" height="200%">'
        '<feGaussianBlur stdDeviation="2.2"/></filter>'
    )
    y = baseline(25, 17)
    ornaments = ('<path d="M20 25 l3 -3 l3 3 l-3 3 Z M127 25 l3 -3 l3 3 l-3 3 Z" fill="{c}"/>')

    def half(fill, stroke, text_fill, ornament, highlight, glow):
        parts = [
            f'<path d="{TAB_PATH}" fill="{fill}" stroke="{stroke}" stroke-width="1.3"/>',
            f'<path d="M11 8.5 Q12 7 16.5 7 H136.5 Q141 7 142 8.5" stroke="{highlight}" '
            'stroke-width="1" fill="none"/>',
        ]
        if glow:
            parts.append(f'<path d="{TAB_PATH}" fill="url(#spark)"/>')
            parts.append(label(76.5, y, text, 17, "#9fdcff", SERIF, "bold",
                               'filter="url(#glow)"'))
        parts.append(label(76.5, y + 1, text, 17, "#05090e", SERIF, "bold", 'opacity="0.7"'))
        parts.append(label(76.5, y, text, 17, text_fill, SERIF, "bold"))
        parts.append(ornaments.format(c=ornament))
        return "".join(parts)

    body = (
        half("url(#n)", "#a98748", "url(#ngold)", "#b38f4e", "#ffe7b0", False)
        + '<g transform="translate(153 0)">'
        + half("url(#h)", "#f0d089", "#ffffff", "#ffe6a3", "#d8f1ff", True)
        + "</g>"
    )
    return svg(306, 49, body, defs)


# vstorm: minimise and close buttons of the back picture: round metal
# buttons, two halves normal | hover.

def round_button(size, glyph):
    r = size / 2
    defs = (
        f'<radialGradient id="n" cx="{r}" cy="{r * 0.7}" r="{r}" gradientUnits="userSpaceOnUse">'
        '<stop offset="0" stop-color="#2c4157"/><stop offset="1" stop-color="#111b26"/>'
        '</radialGradient>'
        f'<radialGradient id="h" cx="{r}" cy="{r * 0.7}" r="{r}" gradientUnits="userSpaceOnUse">'
        + ('<stop offset="0" stop-color="#e65a4c"/><stop offset="1" stop-color="#8e221b"/>'
           if glyph == "close" else
           '<stop offset="0" stop-color="#5096d2"/><stop offset="1" stop-color="#1b4569"/>')
        + '</radialGradient>'
        f'<linearGradient id="rim" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#f2d894"/><stop offset="1" stop-color="#8b6a33"/>'
        '</linearGradient>'
    )
    arm = size * 0.17
    if glyph == "close":
        mark = (f'M{r - arm} {r - arm} L{r + arm} {r + arm} M{r + arm} {r - arm} L{r - arm} {r + arm}')
        width = 2.2
    else:
        mark = f'M{r - arm - 1} {r + 0.5} H{r + arm + 1}'
        width = 2.2

    def half(fill, colour):
        return (
            f'<circle cx="{r}" cy="{r}" r="{r - 1}" fill="{fill}" stroke="url(#rim)" stroke-width="1.4"/>'
            f'<circle cx="{r}" cy="{r}" r="{r - 2.6}" fill="none" stroke="#000000" '
            'stroke-opacity="0.35"/>'
            f'<path d="{mark}" transform="translate(0 1)" stroke="#000000" stroke-opacity="0.5" '
            f'stroke-width="{width}" stroke-linecap="round"/>'
            f'<path d="{mark}" stroke="{colour}" stroke-width="{width}" stroke-linecap="round"/>'
        )

    body = (half("url(#n)", "#d9e2ea") + f'<g transform="translate({size} 0)">' +
            half("url(#h)", "#ffffff") + "</g>")
    return svg(size * 2, size, body, defs)


# vstorm: OK and Cancel of the close confirmation (68 x 35 each).

def dialog_button(text, kind, hover):
    if kind == "ok":
        top, bottom, stroke, colour = (("#ffe9a8", "#d9a444", "#fff3cc", "#2b1a04") if hover
                                       else ("#f3d386", "#b98636", "#e8c98a", "#2b1a04"))
    else:
        top, bottom, stroke, colour = (("#5d7c9c", "#2e4760", "#a9c6e2", "#ffffff") if hover
                                       else ("#40566e", "#223244", "#7188a2", "#e6edf4"))
    defs = (f'<linearGradient id="f" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            '</linearGradient>')
    glow = ('<rect x="1.5" y="1.5" width="65" height="32" rx="5" fill="none" stroke="#ffffff" '
            'stroke-opacity="0.35" stroke-width="1"/>' if hover else "")
    body = (
        '<rect x="1" y="2" width="66" height="33" rx="6" fill="#000000" fill-opacity="0.35"/>'
        f'<rect x="0.5" y="0.5" width="67" height="33" rx="6" fill="url(#f)" stroke="{stroke}"/>'
        + glow +
        '<path d="M6 2.5 H62" stroke="#ffffff" stroke-opacity="0.45"/>'
        + label(34, baseline(17, 15), text, 15, colour, SANS, "bold")
    )
    return svg(68, 35, body, defs)


# ---------------------------------------------------------------------------
# uninstall: close button states (white cross on the orange title strip).

def wizard_close(alpha):
    square = (f'<rect width="25" height="25" fill="#ffffff" fill-opacity="{alpha / 255:.4f}"/>'
              if alpha else "")
    return svg(25, 25, square + '<path d="M8.5 8.5 L16.5 16.5 M16.5 8.5 L8.5 16.5" '
               'stroke="#ffffff" stroke-width="1.7" stroke-linecap="round"/>')


# uninstall: 74 x 21 text buttons.

def wizard_button(text, kind, state):
    if kind == "continue":
        faces = {"normal": ("#fbab31", "#ec830c", "#d9760a", "#ffffff"),
                 "hover": ("#ffbd4f", "#f59418", "#e0810c", "#ffffff"),
                 "pressed": ("#dc7a08", "#ee9420", "#c46a05", "#fff6e6")}
    else:
        faces = {"normal": ("#ffffff", "#f0f0f0", "#c9c9c9", "#555555"),
                 "hover": ("#fffaf0", "#ffeccc", "#f2b443", "#c77606"),
                 "pressed": ("#f6e2bb", "#fff1d8", "#e0a233", "#a86204")}
    top, bottom, stroke, colour = faces[state]
    defs = (f'<linearGradient id="f" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            '</linearGradient>')
    shift = 0.5 if state == "pressed" else 0
    y = baseline(10.5 + shift, 12)
    # White on orange needs a darker edge under the letters to stay readable.
    shadow = (label(37, y + 1, text, 12, "#a34f00", extra='opacity="0.55"')
              if kind == "continue" else "")
    body = (f'<rect x="0.5" y="0.5" width="73" height="20" rx="3" fill="url(#f)" stroke="{stroke}"/>'
            + shadow + label(37, y, text, 12, colour))
    return svg(74, 21, body, defs)


# uninstall: 12 x 12 check box states (flattened onto the wizard's body
# colour by the build script, so no alpha is needed).

def check_box(border, ticked):
    tick = ('<path d="M2.8 6.1 L5 8.4 L9.3 3.6" stroke="#f39a12" stroke-width="1.7" '
            'fill="none" stroke-linecap="round" stroke-linejoin="round"/>' if ticked else "")
    return svg(12, 12, f'<rect x="0.5" y="0.5" width="11" height="11" fill="#ffffff" '
               f'stroke="{border}"/>' + tick)


def write(path, text):
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def main(outdir):
    vstorm = os.path.join(outdir, "vstorm")
    uninstall = os.path.join(outdir, "uninstall")
    os.makedirs(vstorm, exist_ok=True)
    os.makedirs(uninstall, exist_ok=True)

    for glyph in CAPTION_GLYPHS:
        for state in ("normal", "hover", "pressed"):
            suffix = "" if state == "normal" else "_" + state
            write(os.path.join(vstorm, f"caption_{glyph}{suffix}.svg"), caption_button(glyph, state))

    for name, text, accent in (("service", "客服", False), ("forum", "论坛", False),
                               ("official_site", "官网", False), ("topup", "充值", True)):
        write(os.path.join(vstorm, f"caption_{name}.svg"), caption_link(text, accent))

    for name, text in (("official_site", "官方网站"), ("forum", "游戏论坛"),
                       ("service", "客服中心"), ("topup", "充值中心")):
        write(os.path.join(vstorm, f"back_{name}.svg"), back_tab(text))

    write(os.path.join(vstorm, "back_minimize.svg"), round_button(28, "minimize"))
    write(os.path.join(vstorm, "back_close.svg"), round_button(31, "close"))

    for kind, text in (("ok", "确定"), ("cancel", "取消")):
        write(os.path.join(vstorm, f"close_{kind}.svg"), dialog_button(text, kind, False))
        write(os.path.join(vstorm, f"close_{kind}_hover.svg"), dialog_button(text, kind, True))

    write(os.path.join(uninstall, "close.svg"), wizard_close(0))
    write(os.path.join(uninstall, "close_hover.svg"), wizard_close(26))
    write(os.path.join(uninstall, "close_pressed.svg"), wizard_close(64))
    for kind, text in (("cancel", "取消"), ("continue", "继续卸载")):
        for state in ("normal", "hover", "pressed"):
            suffix = "" if state == "normal" else "_" + state
            write(os.path.join(uninstall, f"{kind}{suffix}.svg"), wizard_button(text, kind, state))

    write(os.path.join(uninstall, "checkbox_empty.svg"), check_box("#a9a9a9", False))
    write(os.path.join(uninstall, "checkbox_ticked_hot.svg"), check_box("#f5a623", True))
    write(os.path.join(uninstall, "checkbox_ticked.svg"), check_box("#a9a9a9", True))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: variants.py OUTDIR")
    main(sys.argv[1])
