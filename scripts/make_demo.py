#!/usr/bin/env python3
"""Builds the demo project: a walk round a harbour town.

Draws the map and the thumbnails with ImageMagick, makes each content item's short video
with ffmpeg (a title card naming the item, a boat crossing the frame and a tone), and writes
Harbour.xml and the recorded walk (demo/walk.gpx, and the same walk as an NMEA log for the
tests). Item 4 is a sound file instead, as many guides' items are: a tone with no picture,
shown with the item's thumbnail. `make_demo.py walk` writes the walk alone; `make_demo.py
audio` writes the sound items and Harbour.xml alone; `make_demo.py languages` writes the
German and French catalogues (Harbour.de.po, Harbour.fr.po) and item 1's German and French
videos alone. Run from anywhere; everything lands in demo/. The outputs are committed, so this
only needs running again when the demo changes.
"""
import math
import os
import random
import struct
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEMO = os.path.join(ROOT, "demo")
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# The map covers this GPS rectangle, north at the top (a small harbour town on a river mouth);
# its height on the ground is about three quarters of its width, as the picture's is.
LEFT, TOP, RIGHT, BOTTOM = -0.6262, 54.4914, -0.6062, 54.4826
MAP_W, MAP_H = 800, 600
RADIUS = 48.0  # map pixels

THEMES = {0: "Fishing", 1: "Smuggling", 2: "Shipbuilding", 3: "Legends", 4: "Lifeboat"}
CHARACTERS = {0: "The harbour master", 1: "Nan Storr, fishwife", 2: "Cox Tom Langlands",
              3: "Jack Ruddock, smuggler", 4: "The abbey's cellarer"}
LOCATIONS = {0: "West Side", 1: "East Side", 2: "The harbour", 3: "The headland"}
TIMES = {0: "Middle Ages", 1: "1700s", 2: "1800s", 3: "1900s", 4: "Today"}

# id, description, map x, map y
REGIONS = [
    (1, "Swing bridge", 372, 318),
    (2, "Fish quay", 300, 236),
    (3, "West pier and lighthouse", 228, 92),
    (4, "Whalebone arch", 168, 196),
    (5, "Old market place", 470, 262),
    (6, "Church stairs", 560, 196),
    (7, "Abbey ruins", 662, 110),
    (8, "Shipyard slipway", 318, 452),
    (9, "Lifeboat station", 442, 150),
    (10, "Smugglers' yard", 520, 380),
]

# id, title, region (0 = none), themes, characters, locations, times, colour
CONTENT = [
    (1, "The Swing Bridge", 1, [2], [0], [2], [3], "0x1d4e6b"),
    (2, "Opening for the tall ship", 1, [2, 0], [0], [2], [4], "0x23576e"),
    (3, "Herring season", 2, [0], [1], [2, 0], [2], "0x2b5f3a"),
    (4, "Gutting the catch", 2, [0], [1], [2], [3], "0x31673f"),
    (5, "The lighthouse keeper", 3, [0, 4], [0], [0], [2], "0x4a4a7a"),
    (6, "Storm on the west pier", 3, [4, 3], [2], [0], [3], "0x3a3a66"),
    (7, "The whalers come home", 4, [0, 2], [0], [0], [1], "0x5a4a2a"),
    (8, "Market day", 5, [0], [1], [1], [2], "0x6b3d1d"),
    (9, "The hidden cellar", 5, [1], [3], [1], [1], "0x4b2d1d"),
    (10, "One hundred and ninety-nine steps", 6, [3], [4], [1, 3], [0], "0x5b2a4a"),
    (11, "The abbey at dusk", 7, [3], [4], [3], [0], "0x3b1f4a"),
    (12, "Monks and the sea", 7, [3, 0], [4], [3], [0], "0x46245a"),
    (13, "Laying the keel", 8, [2], [0], [0], [1], "0x6b5d1d"),
    (14, "Launch day", 8, [2], [2], [0, 2], [2], "0x7a6a25"),
    (15, "Rowing lifeboat drill", 9, [4], [2], [2], [3], "0x7a1d1d"),
    (16, "The great rescue", 9, [4, 3], [2], [2, 0], [3], "0x8a2424"),
    (17, "Lace and brandy", 10, [1], [3], [1], [1], "0x2d2d2d"),
    (18, "The excise men", 10, [1], [3, 0], [1, 2], [1], "0x3a3a3a"),
    (19, "Tales of the night", 0, [3, 1], [3], [1], [1], "0x1f2f3f"),
    (20, "The harbour today", 0, [0, 2], [0, 1], [2], [4], "0x1d5e7b"),
]


def run(args):
    subprocess.run(args, check=True)


def f32(v):
    # The program reads reals in single precision and writes them back with six decimals;
    # the demo is written the same way, so a save changes nothing.
    return struct.unpack("f", struct.pack("f", v))[0]


def map_to_gps(x, y):
    gx = LEFT + (RIGHT - LEFT) * x / MAP_W
    gy = TOP + (BOTTOM - TOP) * y / MAP_H
    return f32(gx), f32(gy)


def draw_map(path):
    d = []
    # Land, the sea to the north, the river running south through the town.
    d += ["-fill", "#e8dcb8", "-draw", "rectangle 0,0 799,599"]
    d += ["-fill", "#7fb3d5", "-draw", "polygon 0,0 799,0 799,60 700,40 600,70 470,90 420,120 "
          "330,130 280,60 250,40 200,50 150,110 60,120 0,100"]
    d += ["-fill", "#7fb3d5", "-draw", "polygon 330,130 420,120 400,220 410,300 380,360 "
          "360,440 380,520 360,599 300,599 320,520 300,440 330,360 340,300 320,220"]
    # Harbour basin and the piers.
    d += ["-fill", "#6fa5c9", "-draw", "ellipse 370,180 70,55 0,360"]
    d += ["-stroke", "#8a8a8a", "-strokewidth", "8", "-draw", "line 240,60 300,150"]
    d += ["-draw", "line 460,60 420,150"]
    d += ["-stroke", "none"]
    # Headland and parkland.
    d += ["-fill", "#b9d3a0", "-draw", "polygon 600,70 700,40 799,60 799,260 640,240 600,170"]
    d += ["-fill", "#b9d3a0", "-draw", "polygon 0,100 60,120 150,110 120,260 0,280"]
    # Streets.
    d += ["-stroke", "#ffffff", "-strokewidth", "6", "-fill", "none"]
    for line in ["100,300 330,318", "410,318 760,330", "470,262 700,250", "470,262 520,380",
                 "520,380 760,470", "168,196 300,236", "318,452 100,520", "560,196 662,110",
                 "470,262 560,196", "330,318 318,452", "150,380 330,318"]:
        d += ["-draw", "line " + line]
    d += ["-stroke", "#a0522d", "-strokewidth", "5", "-draw", "line 336,318 408,318"]
    d += ["-stroke", "none"]
    # Houses: small red roofs along the streets.
    d += ["-fill", "#b5573f"]
    for x, y in [(120, 280), (160, 284), (200, 288), (240, 292), (430, 300), (470, 302),
                 (520, 305), (580, 308), (640, 312), (700, 315), (500, 240), (540, 236),
                 (600, 232), (480, 340), (500, 360), (560, 400), (620, 420), (680, 445),
                 (200, 470), (150, 490), (260, 420), (220, 350), (260, 340), (600, 270)]:
        d += ["-draw", f"rectangle {x},{y} {x + 18},{y + 12}"]
    # The abbey ruin and the lighthouse.
    d += ["-fill", "#8c8c8c", "-draw", "rectangle 640,95 690,125"]
    d += ["-fill", "#e8dcb8", "-draw", "rectangle 650,102 656,125", "-draw", "rectangle 665,102 671,125"]
    d += ["-fill", "#ffffff", "-stroke", "#b03030", "-strokewidth", "2",
          "-draw", "rectangle 236,70 246,90", "-stroke", "none"]
    # Shipyard slipway.
    d += ["-fill", "#9c8b6e", "-draw", "polygon 300,440 330,430 345,470 315,480"]
    # Names.
    d += ["-font", FONT_BOLD, "-pointsize", "14", "-fill", "#204060",
          "-draw", "text 520,30 'North Sea'", "-draw", "text 352,560 'River'"]
    d += ["-font", FONT, "-pointsize", "11", "-fill", "#3a3020",
          "-draw", "text 60,330 'West Side'", "-draw", "text 640,360 'East Side'",
          "-draw", "text 700,200 'Headland'", "-draw", "text 600,140 'Abbey'"]
    # Compass.
    d += ["-stroke", "#303030", "-strokewidth", "2", "-draw", "line 760,560 760,520",
          "-fill", "#303030", "-draw", "polygon 760,512 754,526 766,526", "-stroke", "none",
          "-font", FONT_BOLD, "-pointsize", "12", "-draw", "text 755,578 'N'"]
    run(["convert", "-size", f"{MAP_W}x{MAP_H}", "xc:#e8dcb8"] + d + ["-strip", "PNG24:" + path])


# Items whose content is a sound file (audio/itemNN.mp3) rather than a video.
AUDIO_ITEMS = {4}


def media_name(cid):
    return f"audio/item{cid:02d}.mp3" if cid in AUDIO_ITEMS else f"video/item{cid:02d}.mp4"


def make_audio(path, title, seconds=8):
    # Two alternating tones, so it is plainly sound and not a fault.
    run(["ffmpeg", "-loglevel", "error", "-y",
         "-f", "lavfi", "-i", f"sine=f=330:d={seconds}",
         "-f", "lavfi", "-i", f"sine=f=392:d={seconds}",
         "-filter_complex", "[0:a][1:a]amix=inputs=2,volume=0.6[a]", "-map", "[a]",
         "-c:a", "libmp3lame", "-b:a", "32k", "-ac", "1", "-map_metadata", "-1",
         # The sound item's title lives only in its own tag: the project gives it none.
         "-metadata", f"title={title}", "-id3v2_version", "3",
         "-fflags", "+bitexact", "-flags:a", "+bitexact", path])


# The spoken words of a sound item, shown over its picture as they are heard.
TRANSCRIPTS = {
    4: ["Gutting the catch: the work began here at dawn.",
        "Herring went into salt barrels all along this quay."],
}


def write_transcript(path, cues, seconds=8):
    step = seconds / len(cues)
    stamp = lambda t: f"00:00:{int(t):02d},{int(round((t % 1) * 1000)):03d}"
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        for n, text in enumerate(cues):
            out.write(f"{n + 1}\n{stamp(n * step)} --> {stamp((n + 1) * step)}\n{text}\n\n")


# The tour in German and French: every place name and title (the catalogues' msgid is the
# English text as the project shows it), and item 1 also as its own video in each language.
TRANSLATIONS = {
    "de": {
        "Swing bridge": "Drehbrücke",
        "Fish quay": "Fischkai",
        "West pier and lighthouse": "Westmole und Leuchtturm",
        "Whalebone arch": "Walknochenbogen",
        "Old market place": "Alter Marktplatz",
        "Church stairs": "Kirchentreppe",
        "Abbey ruins": "Abteiruine",
        "Shipyard slipway": "Helling der Werft",
        "Lifeboat station": "Seenotrettungsstation",
        "Smugglers' yard": "Schmugglerhof",
        "The Swing Bridge": "Die Drehbrücke",
        "Opening for the tall ship": "Die Brücke öffnet sich für den Großsegler",
        "Herring season": "Heringssaison",
        "Gutting the catch": "Den Fang ausnehmen",
        "The lighthouse keeper": "Der Leuchtturmwärter",
        "Storm on the west pier": "Sturm auf der Westmole",
        "The whalers come home": "Die Walfänger kehren heim",
        "Market day": "Markttag",
        "The hidden cellar": "Der verborgene Keller",
        "One hundred and ninety-nine steps": "Hundertneunundneunzig Stufen",
        "The abbey at dusk": "Die Abtei in der Abenddämmerung",
        "Monks and the sea": "Die Mönche und das Meer",
        "Laying the keel": "Die Kiellegung",
        "Launch day": "Der Stapellauf",
        "Rowing lifeboat drill": "Übung im Ruderrettungsboot",
        "The great rescue": "Die große Rettung",
        "Lace and brandy": "Spitze und Branntwein",
        "The excise men": "Die Zöllner",
        "Tales of the night": "Geschichten der Nacht",
        "The harbour today": "Der Hafen heute",
    },
    "fr": {
        "Swing bridge": "Pont tournant",
        "Fish quay": "Quai aux poissons",
        "West pier and lighthouse": "Jetée ouest et phare",
        "Whalebone arch": "Arche en os de baleine",
        "Old market place": "Place du vieux marché",
        "Church stairs": "Escalier de l’église",
        "Abbey ruins": "Ruines de l’abbaye",
        "Shipyard slipway": "Cale du chantier naval",
        "Lifeboat station": "Station de sauvetage en mer",
        "Smugglers' yard": "Cour des contrebandiers",
        "The Swing Bridge": "Le pont tournant",
        "Opening for the tall ship": "Le pont s’ouvre pour le grand voilier",
        "Herring season": "La saison du hareng",
        "Gutting the catch": "Le vidage du poisson",
        "The lighthouse keeper": "Le gardien de phare",
        "Storm on the west pier": "Tempête sur la jetée ouest",
        "The whalers come home": "Le retour des baleiniers",
        "Market day": "Jour de marché",
        "The hidden cellar": "La cave secrète",
        "One hundred and ninety-nine steps": "Cent quatre-vingt-dix-neuf marches",
        "The abbey at dusk": "L’abbaye au crépuscule",
        "Monks and the sea": "Les moines et la mer",
        "Laying the keel": "La pose de la quille",
        "Launch day": "Le jour du lancement",
        "Rowing lifeboat drill": "Exercice du canot de sauvetage à rames",
        "The great rescue": "Le grand sauvetage",
        "Lace and brandy": "Dentelle et eau-de-vie",
        "The excise men": "Les douaniers",
        "Tales of the night": "Contes de la nuit",
        "The harbour today": "Le port aujourd’hui",
    },
}
# Item 1's own video in each language: its title card in that language, on a background of
# its own so the language that plays can be told apart at a glance.
VIDEO_SIBLINGS = {1: {"de": ("Geschichte", "0x8a1d1d"), "fr": ("Histoire", "0x1d2a8a")}}
LANGUAGE_NAMES = {"de": "German", "fr": "French"}


def po_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def write_catalogue(path, code):
    region_names = {d for _, d, _, _ in REGIONS}
    out = [f"# {LANGUAGE_NAMES[code]} names and titles of the Harbour Town Walk.\n",
           'msgid ""\nmsgstr ""\n',
           '"Project-Id-Version: Harbour Town Walk\\n"\n',
           f'"Language: {code}\\n"\n',
           '"MIME-Version: 1.0\\n"\n',
           '"Content-Type: text/plain; charset=UTF-8\\n"\n',
           '"Content-Transfer-Encoding: 8bit\\n"\n']
    for english, translated in TRANSLATIONS[code].items():
        what = "place name" if english in region_names else "title"
        out.append(f"\n#. {what}\nmsgid {po_string(english)}\nmsgstr {po_string(translated)}\n")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("".join(out))


def make_languages():
    for code in TRANSLATIONS:
        write_catalogue(os.path.join(DEMO, f"Harbour.{code}.po"), code)
    region_names = {r: d for r, d, _, _ in REGIONS}
    for cid, title, region, themes, chars, locs, times, colour in CONTENT:
        for code, (theme, background) in VIDEO_SIBLINGS.get(cid, {}).items():
            words = TRANSLATIONS[code]
            make_video(os.path.join(DEMO, f"video/item{cid:02d}.{code}.mp4"), words[title],
                       f"{words[region_names[region]]} - {theme}", background)


def make_sound_items():
    os.makedirs(os.path.join(DEMO, "audio"), exist_ok=True)
    titles = {c[0]: c[1] for c in CONTENT}
    for cid in sorted(AUDIO_ITEMS):
        make_audio(os.path.join(DEMO, media_name(cid)), titles[cid])
        if cid in TRANSCRIPTS:
            write_transcript(os.path.join(DEMO, f"audio/item{cid:02d}.srt"), TRANSCRIPTS[cid])


def draw_thumbnail(path, number, colour):
    run(["convert", "-size", "32x24", f"xc:#{colour[2:]}",
         "-fill", "none", "-stroke", "#f0e0c0", "-strokewidth", "1",
         "-draw", "rectangle 0,0 31,23", "-stroke", "none",
         "-fill", "white", "-font", FONT_BOLD, "-pointsize", "13", "-gravity", "center",
         "-annotate", "+0+0", str(number), "-strip", "PNG32:" + path])


def make_video(path, title, subtitle, colour, seconds=3):
    size = 20 if len(title) <= 22 else max(11, 20 * 22 // len(title))
    esc = lambda s: s.replace("\\", "\\\\").replace(":", "\\:").replace("'", "\u2019")
    # A boat (hull and mast) sails across the water below the title card.
    boat_x = "mod(t*90,W+60)-60"
    graph = (f"[0:v]drawbox=x=0:y=ih-52:w=iw:h=52:color=0x2a5f8a@1:t=fill,"
             f"drawtext=fontfile={FONT_BOLD}:text='{esc(title)}':fontcolor=white:fontsize={size}:"
             f"x=(w-text_w)/2:y=70,"
             f"drawtext=fontfile={FONT}:text='{esc(subtitle)}':fontcolor=0xe0e0e0:fontsize=13:"
             f"x=(w-text_w)/2:y=104[card];"
             f"[card][2:v]overlay=x='{boat_x}':y=H-70:shortest=1[hulled];"
             f"[hulled][3:v]overlay=x='{boat_x}+28':y=H-100:shortest=1[v]")
    run(["ffmpeg", "-loglevel", "error", "-y",
         "-f", "lavfi", "-i", f"color=c={colour}:s=320x240:r=15:d={seconds}",
         "-f", "lavfi", "-i", f"sine=f=294:d={seconds}",
         "-f", "lavfi", "-i", f"color=c=0xf0e0c0:s=60x18:r=15:d={seconds}",
         "-f", "lavfi", "-i", f"color=c=white:s=4x30:r=15:d={seconds}",
         "-filter_complex", graph, "-map", "[v]", "-map", "1:a",
         "-c:v", "libx264", "-preset", "veryslow", "-crf", "32",
         "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "24k", "-shortest",
         "-movflags", "+faststart", path])


def xml_text(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def write_project(path):
    out = ["<?xml version='1.0' encoding='UTF-8' ?>\n\n<media_portrait>\n"]
    out.append("<system>\n")
    out.append("\t<project_name>Harbour Town Walk</project_name>\n")
    out.append("\t<map_filename>map.png</map_filename>\n")
    out.append(f"\t<left>{f32(LEFT):f}</left>\n\t<top>{f32(TOP):f}</top>\n")
    out.append(f"\t<right>{f32(RIGHT):f}</right>\n\t<bottom>{f32(BOTTOM):f}</bottom>\n")
    out.append("\t<theme_rels>1</theme_rels>\n\t<character_rels>1</character_rels>\n")
    out.append("\t<time_rels>0</time_rels>\n\t<location_rels>0</location_rels>\n")
    out.append(f"\t<radius>{f32(RADIUS):f}</radius>\n")
    out.append("\t<user_filename/>\n</system>\n\n\n")
    for tag, field, table in [("character", "character_name", CHARACTERS),
                              ("location", "location_desc", LOCATIONS),
                              ("theme", "theme_desc", THEMES), ("time", "time_desc", TIMES)]:
        out.append(f"<{tag}_list>\n")
        for i, text in table.items():
            out.append(f"\t<{tag}>\n\t\t<{tag}_id>{i}</{tag}_id>\n"
                       f"\t\t<{field}>{text}</{field}>\n\t</{tag}>\n")
        out.append(f"</{tag}_list>\n\n")
    out.append("<region_list>\n")
    for rid, desc, x, y in REGIONS:
        gx, gy = map_to_gps(x, y)
        out.append(f"\t<region>\n\t\t<region_id>{rid}</region_id>\n"
                   f"\t\t<region_description>{desc}</region_description>\n"
                   f"\t\t<gps_x>{gx:f}</gps_x>\n\t\t<gps_y>{gy:f}</gps_y>\n\t</region>\n")
    out.append("</region_list>\n\n<content_list>\n")
    placed = {}
    for cid, title, region, themes, chars, locs, times, colour in CONTENT:
        if region:
            rx, ry = next((x, y) for r, _, x, y in REGIONS if r == region)
            k = placed.get(region, 0)
            placed[region] = k + 1
            gx, gy = map_to_gps(rx - 20 + 40 * k, ry + 28)
        else:
            gx, gy = 0.0, 0.0
        out.append(f"\t<content>\n\t\t<content_id>{cid}</content_id>\n")
        for tag, ids in [("theme", themes), ("character", chars), ("time", times),
                         ("location", locs)]:
            out.append(f"\t\t<{tag}_list>\n")
            for i in sorted(ids):
                out.append(f"\t\t\t<{tag}_id>{i}</{tag}_id>\n")
            out.append(f"\t\t</{tag}_list>\n")
        out.append(f"\t\t<region_id>{region}</region_id>\n"
                   f"\t\t<filename>{media_name(cid)}</filename>\n"
                   f"\t\t<thumbnail>thumbs/item{cid:02d}.png</thumbnail>\n"
                   + ("" if cid in AUDIO_ITEMS else f"\t\t<title>{xml_text(title)}</title>\n") +
                   f"\t\t<gps_x>{gx:f}</gps_x>\n\t\t<gps_y>{gy:f}</gps_y>\n\t</content>\n")
    out.append("</content_list>\n\n\n\n</media_portrait>")
    with open(path, "w", newline="\n") as f:
        f.write("".join(out))


# The demo walk: from the west bank to the fish quay, over the swing bridge, up through the
# old market place and the church stairs to the abbey ruins. Map pixels; each visited place
# is passed through its centre with a short stop.
WALK_START = (200, 330)
WALK_REGIONS = [2, 1, 5, 6, 7]
WALK_T0 = 1716026400  # 2024-05-18 10:00:00 UTC
WALK_SPEED = 1.3      # metres per second


def pixel_to_gps(x, y):
    return (LEFT + (RIGHT - LEFT) * x / MAP_W, TOP + (BOTTOM - TOP) * y / MAP_H)


def metres_per_pixel():
    lat = math.radians((TOP + BOTTOM) / 2)
    return (abs(RIGHT - LEFT) / MAP_W * 111320 * math.cos(lat), abs(TOP - BOTTOM) / MAP_H * 110540)


def walk_points():
    """[(time, map x, map y, hdop)]: a point every 1 or 2 s, with a metre or so of noise."""
    rnd = random.Random(15)
    mx, my = metres_per_pixel()
    centres = {r: (x, y) for r, _, x, y in REGIONS}
    stops = [WALK_START] + [centres[r] for r in WALK_REGIONS]
    points, t = [], WALK_T0

    def add(x, y):
        nonlocal t
        hdop = round(0.9 + 0.4 * rnd.random(), 1)
        points.append((t, x + rnd.gauss(0, 0.8) / mx, y + rnd.gauss(0, 0.8) / my, hdop))
        t += 2 if len(points) % 7 == 0 else 1

    for (x0, y0), (x1, y1) in zip(stops, stops[1:]):
        length = math.hypot((x1 - x0) * mx, (y1 - y0) * my)
        d = 0.0
        while d < length:
            f = d / length
            add(x0 + (x1 - x0) * f, y0 + (y1 - y0) * f)
            d += WALK_SPEED * (points[-1][0] - points[-2][0] if len(points) > 1 else 1)
        for _ in range(8):  # a short stop at the place
            add(x1, y1)
    return points


def regions_entered(points, margin=RADIUS / 2):
    """Regions in the order a walker entering under r and leaving beyond r + margin meets them;
    also checks that no other place comes within r + margin of the walk."""
    inside, order = set(), []
    for _, x, y, _ in points:
        for r, _, cx, cy in REGIONS:
            d = math.hypot(x - cx, y - cy)
            if r not in WALK_REGIONS and d < RADIUS + margin:
                raise SystemExit(f"the walk passes too close to region {r}")
            if d < RADIUS and r not in inside:
                inside.add(r)
                order.append(r)
            elif d > RADIUS + margin:
                inside.discard(r)
    return order


def nmea(body):
    sum_ = 0
    for c in body:
        sum_ ^= ord(c)
    return f"${body}*{sum_:02X}\r\n"


def nmea_angle(value, width):
    v = abs(value)
    deg = int(v)
    return f"{deg:0{width}d}{(v - deg) * 60:08.5f}"


def write_walk(gpx_path, nmea_path):
    points = walk_points()
    order = regions_entered(points)
    if order != WALK_REGIONS:
        raise SystemExit(f"the walk enters {order}, not {WALK_REGIONS}")
    names = {r: d for r, d, _, _ in REGIONS}
    listing = ", ".join(f"{r} {names[r]}" for r in order)
    gpx = ['<?xml version="1.0" encoding="UTF-8"?>\n',
           f"<!-- A walk through the harbour town, {len(points)} points. Regions entered, in\n"
           f"     order (region id, description): {listing}.\n"
           "     Written by scripts/make_demo.py walk; tests/fixtures/position/demo_walk.nmea\n"
           "     is the same walk as NMEA 0183. -->\n",
           '<gpx version="1.1" creator="Corvane demo" xmlns="http://www.topografix.com/GPX/1/1">\n',
           "  <trk>\n    <name>Harbour town walk</name>\n    <trkseg>\n"]
    log = [f"# A walk through the harbour town (the route of demo/walk.gpx): {listing}.\n"]
    prev = None
    for t, x, y, hdop in points:
        lon, lat = pixel_to_gps(x, y)
        stamp = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(t))
        gpx.append(f'      <trkpt lat="{lat:.7f}" lon="{lon:.7f}"><time>{stamp}</time>'
                   f"<hdop>{hdop:.1f}</hdop></trkpt>\n")
        hms = time.strftime("%H%M%S", time.gmtime(t)) + ".00"
        dmy = time.strftime("%d%m%y", time.gmtime(t))
        ns, ew = ("N" if lat >= 0 else "S"), ("E" if lon >= 0 else "W")
        la, lo = nmea_angle(lat, 2), nmea_angle(lon, 3)
        knots, course = 0.0, 0.0
        if prev is not None:
            mx, my = metres_per_pixel()
            dx, dy = (x - prev[1]) * mx, (prev[2] - y) * my
            knots = math.hypot(dx, dy) / max(1, t - prev[0]) * 3600 / 1852
            course = math.degrees(math.atan2(dx, dy)) % 360
        prev = (t, x, y)
        log.append(nmea(f"GPGGA,{hms},{la},{ns},{lo},{ew},1,08,{hdop:.1f},12.0,M,47.0,M,,"))
        log.append(nmea(f"GPRMC,{hms},A,{la},{ns},{lo},{ew},{knots:.1f},{course:.1f},{dmy},,,A"))
    gpx.append("    </trkseg>\n  </trk>\n</gpx>\n")
    with open(gpx_path, "w", newline="\n") as f:
        f.write("".join(gpx))
    with open(nmea_path, "w", newline="") as f:
        f.write("".join(log))
    print(f"walk: {len(points)} points, {points[-1][0] - points[0][0]} s, regions {listing}")


def write_walk_files():
    fixtures = os.path.join(ROOT, "tests", "fixtures", "position")
    os.makedirs(fixtures, exist_ok=True)
    write_walk(os.path.join(DEMO, "walk.gpx"), os.path.join(fixtures, "demo_walk.nmea"))


def main():
    if sys.argv[1:] == ["walk"]:  # the walk alone, without drawing and encoding again
        write_walk_files()
        return 0
    if sys.argv[1:] == ["languages"]:  # the catalogues and the videos in other languages
        make_languages()
        return 0
    if sys.argv[1:] == ["audio"]:  # the sound items and the project file alone
        make_sound_items()
        write_project(os.path.join(DEMO, "Harbour.xml"))
        return 0
    os.makedirs(os.path.join(DEMO, "thumbs"), exist_ok=True)
    os.makedirs(os.path.join(DEMO, "video"), exist_ok=True)
    draw_map(os.path.join(DEMO, "map.png"))
    region_names = {r: d for r, d, _, _ in REGIONS}
    for cid, title, region, themes, chars, locs, times, colour in CONTENT:
        draw_thumbnail(os.path.join(DEMO, "thumbs", f"item{cid:02d}.png"), cid, colour)
        where = region_names.get(region, "Anywhere in town")
        subtitle = f"{where} - {THEMES[themes[0]]}, {TIMES[times[0]]}"
        if cid not in AUDIO_ITEMS:
            make_video(os.path.join(DEMO, media_name(cid)), title, subtitle, colour)
    make_sound_items()
    make_languages()
    write_project(os.path.join(DEMO, "Harbour.xml"))
    write_walk_files()
    return 0


if __name__ == "__main__":
    sys.exit(main())
