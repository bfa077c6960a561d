#!/usr/bin/env python3
"""Converts the map shapes the statistics window draws into data/maps/.

Usage: maps.py WORLD_ATLAS_DIR BRAZIL_DIR OUT_DIR
  WORLD_ATLAS_DIR  unpacked npm package world-atlas 2.0.2 (countries-50m.json, TopoJSON)
  BRAZIL_DIR       unpacked npm package @svg-maps/brazil 2.0.0 (index.js)
Reads data/countries.tsv and data/states.tsv beside this script's repository and
Debian's iso-codes (/usr/share/iso-codes/json/iso_3166-1.json) for the numeric codes.

Output, one text file per map (Qt's resource compiler compresses it):
  size W H                 the drawing's extent, whole units
  shape KEY x y x y ...    one shape; rings separated by " | ", absolute whole units
  part KEY OWNER           KEY has no shape of its own: drawn as OWNER's shape
  point KEY x y            too small for the source: drawn as a marker at x y
World keys are the countries' three-letter codes of data/countries.tsv (GBR is the
United Kingdom, the shape of ENG, SCO, WAL and NIR); "-" is land of no country there.
Brazil's keys are the states' two letters.
"""
import csv
import json
import math
import os
import re
import sys

WIDTH = 2000  # units across the world map

# Countries of data/ that Natural Earth draws inside another country's shape.
UK_PARTS = ["ENG", "SCO", "WAL", "NIR"]
# France's overseas regions are polygons of France's shape there: taken out by box
# (west, south, east, north in degrees).
FRANCE_PARTS = {
    "GUF": (-55.0, 1.5, -51.0, 6.0),
    "GLP": (-62.0, 15.8, -60.9, 16.6),
    "MTQ": (-61.3, 14.3, -60.7, 14.95),
    "REU": (55.0, -21.5, 56.0, -20.8),
}
# Not in the 1:50m shapes: a marker at (longitude, latitude). Islands that shrink
# below a unit at this scale become markers too.
POINTS = {"GIB": (-5.35, 36.14), "TUV": (179.2, -8.52)}
# Shapes without an ISO number, found by their English name.
BY_NAME = {"KVX": "Kosovo"}
ANTARCTICA = "010"


def natural_earth(lon, lat):
    """Natural Earth I projection (Šavrič, Jenny, Patterson, 2011)."""
    l, p = math.radians(lon), math.radians(lat)
    p2 = p * p
    p4 = p2 * p2
    x = l * (0.870700 - 0.131979 * p2 + p4 * (-0.013791 + p4 * (0.003971 * p2 - 0.001529 * p4)))
    y = p * (1.007226 + p2 * (0.015085 + p4 * (-0.044475 + 0.028874 * p2 - 0.005916 * p4)))
    return x, y


X0, _ = natural_earth(-180, 0)
_, Y0 = natural_earth(0, 90)
SCALE = WIDTH / (2 * -X0)


def world_point(lon, lat):
    x, y = natural_earth(lon, lat)
    return round((x - X0) * SCALE), round((Y0 - y) * SCALE)


def thin(points):
    """Drops points that fall on the same unit as the one before."""
    out = []
    for p in points:
        if not out or p != out[-1]:
            out.append(p)
    if len(out) > 1 and out[0] == out[-1]:
        out.pop()
    return out


def decode_arcs(topo):
    sx, sy = topo["transform"]["scale"]
    tx, ty = topo["transform"]["translate"]
    arcs = []
    for arc in topo["arcs"]:
        x = y = 0
        pts = []
        for dx, dy in arc:
            x += dx
            y += dy
            pts.append((x * sx + tx, y * sy + ty))
        arcs.append(pts)
    return arcs


def ring(arcs, indexes):
    pts = []
    for i in indexes:
        a = arcs[i] if i >= 0 else list(reversed(arcs[~i]))
        pts.extend(a if not pts else a[1:])
    return pts


def polygons(arcs, geometry):
    if geometry["type"] == "Polygon":
        return [[ring(arcs, r) for r in geometry["arcs"]]]
    if geometry["type"] == "MultiPolygon":
        return [[ring(arcs, r) for r in poly] for poly in geometry["arcs"]]
    return []


def in_box(poly, box):
    lon = sum(p[0] for p in poly[0]) / len(poly[0])
    lat = sum(p[1] for p in poly[0]) / len(poly[0])
    return box[0] <= lon <= box[2] and box[1] <= lat <= box[3]


def clip(ring, edge, east):
    """Sutherland-Hodgman: the part of a ring west (east=False) or east of a meridian."""
    keep = (lambda p: p[0] >= edge) if east else (lambda p: p[0] <= edge)
    out = []
    for i, cur in enumerate(ring):
        prev = ring[i - 1]
        if keep(cur) != keep(prev):
            t = (edge - prev[0]) / (cur[0] - prev[0])
            out.append((edge, prev[1] + t * (cur[1] - prev[1])))
        if keep(cur):
            out.append(cur)
    return out


def split_at_antimeridian(ring):
    """A ring that crosses 180° (Russia's east, Fiji) becomes one ring each side."""
    if all(abs(b[0] - a[0]) <= 180 for a, b in zip(ring, ring[1:])):
        return [ring]
    unwrapped = [ring[0]]
    for lon, lat in ring[1:]:
        prev = unwrapped[-1][0]
        while lon - prev > 180:
            lon -= 360
        while prev - lon > 180:
            lon += 360
        unwrapped.append((lon, lat))
    pieces = []
    for shift in (-360, 0, 360):
        piece = [(lon + shift, lat) for lon, lat in unwrapped]
        piece = clip(clip(piece, 180, False), -180, True)
        if len(piece) >= 3:
            pieces.append(piece)
    return pieces


def shape_text(polys):
    rings = []
    for poly in polys:
        for r in (part for whole in poly for part in split_at_antimeridian(whole)):
            pts = thin([world_point(lon, lat) for lon, lat in r])
            if len(pts) >= 3:
                rings.append(" ".join(f"{x} {y}" for x, y in pts))
    return " | ".join(rings)


def read_tsv(path):
    with open(path, encoding="utf-8") as f:
        return list(csv.DictReader(f, delimiter="\t"))


def world(atlas_dir, countries, out):
    with open(os.path.join(atlas_dir, "countries-50m.json"), encoding="utf-8") as f:
        topo = json.load(f)
    arcs = decode_arcs(topo)
    with open("/usr/share/iso-codes/json/iso_3166-1.json", encoding="utf-8") as f:
        numeric = {c["alpha_2"].lower(): c["numeric"] for c in json.load(f)["3166-1"]}
    geoms = topo["objects"]["countries"]["geometries"]
    # A few ids are shared by a country and a speck of its (Australia and the Ashmore
    # and Cartier Islands): the id names the one with the most arcs.
    size = lambda g: len(json.dumps(g["arcs"])) if "arcs" in g else 0
    by_id = {}
    for g in geoms:
        if g.get("id") and size(g) > size(by_id.get(g["id"], {})):
            by_id[g["id"]] = g
    by_name = {g["properties"]["name"]: g for g in geoms}

    keys = {}  # geometry index -> key
    lines = []
    for row in countries:
        code = row["code3"]
        if code in UK_PARTS:
            lines.append(f"part {code} GBR")
            continue
        if code in FRANCE_PARTS or code in POINTS:
            continue
        geom = by_name.get(BY_NAME[code]) if code in BY_NAME else by_id.get(numeric.get(row["iso2"]))
        if geom is None:
            sys.exit(f"no shape for {code} ({row['name_pt']}): add it to the exceptions")
        keys[id(geom)] = code
    keys[id(by_id[numeric["gb"]])] = "GBR"

    france = by_id[numeric["fr"]]
    france_polys = polygons(arcs, france["arcs"] and france)
    for code, box in FRANCE_PARTS.items():
        taken = [p for p in france_polys if in_box(p, box)]
        france_polys = [p for p in france_polys if not in_box(p, box)]
        text = shape_text(taken)
        if text:
            lines.append(f"shape {code} {text}")
        else:
            x, y = world_point((box[0] + box[2]) / 2, (box[1] + box[3]) / 2)
            lines.append(f"point {code} {x} {y}")
    for code, (lon, lat) in POINTS.items():
        x, y = world_point(lon, lat)
        lines.append(f"point {code} {x} {y}")

    for g in geoms:
        if g.get("id") == ANTARCTICA:
            continue
        polys = france_polys if g is france else polygons(arcs, g)
        text = shape_text(polys)
        key = keys.get(id(g), "-")
        if text:
            lines.append(f"shape {key} {text}")
        elif key != "-" and polys:  # an island smaller than a unit: a marker
            ring0 = polys[0][0]
            x, y = world_point(sum(p[0] for p in ring0) / len(ring0),
                               sum(p[1] for p in ring0) / len(ring0))
            lines.append(f"point {key} {x} {y}")
    _, height = world_point(0, -60)
    write(out, "world: Natural Earth 1:50m admin-0 countries (world-atlas 2.0.2), "
          "Natural Earth I projection, Antarctica left out", WIDTH, height, lines)


def brazil(brazil_dir, states, out):
    with open(os.path.join(brazil_dir, "index.js"), encoding="utf-8") as f:
        data = json.loads(f.read().strip().removeprefix("export default").strip().rstrip(";"))
    _, _, w, h = (float(v) for v in data["viewBox"].split())
    scale = 2  # half units of the source's drawing
    found = {loc["id"].upper(): loc for loc in data["locations"]}
    lines = []
    for row in states:
        loc = found.get(row["uf"])
        if loc is None:
            sys.exit(f"no shape for state {row['uf']}")
        lines.append(f"shape {row['uf']} {svg_rings(loc['path'], scale)}")
    write(out, "Brazil's states: @svg-maps/brazil 2.0.0 (MapSVG), CC BY 4.0",
          round(w * scale), round(h * scale), lines)


def svg_rings(path, scale):
    """The package's paths use only relative moves with implied lines, and closes."""
    tokens = re.findall(r"[mMzZ]|-?[0-9.]+(?:e-?[0-9]+)?", path)
    rings, pts = [], []
    x = y = 0.0
    i = 0
    absolute = False
    while i < len(tokens):
        t = tokens[i]
        if t in "mM":
            absolute = t == "M"
            if pts:
                rings.append(pts)
            pts = []
            i += 1
            continue
        if t in "zZ":
            if pts:
                rings.append(pts)
                x, y = pts[0][0] / scale, pts[0][1] / scale
            pts = []
            i += 1
            continue
        dx, dy = float(t), float(tokens[i + 1])
        i += 2
        if absolute and not pts:
            x, y = dx, dy
        else:
            x, y = x + dx, y + dy
        pts.append((x * scale, y * scale))
    if pts:
        rings.append(pts)
    out = []
    for r in rings:
        q = thin([(round(px), round(py)) for px, py in r])
        if len(q) >= 3:
            out.append(" ".join(f"{px} {py}" for px, py in q))
    return " | ".join(out)


def write(path, what, w, h, lines):
    with open(path, "w", encoding="utf-8") as f:
        f.write(f"# Velmora map, {what}.\n# Made by tools/make-data/maps.py; do not edit.\n")
        f.write(f"size {w} {h}\n")
        for line in lines:
            f.write(line + "\n")


def main():
    atlas, brazil_dir, out = sys.argv[1:4]
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    data = os.path.join(root, "data")
    world(atlas, read_tsv(os.path.join(data, "countries.tsv")), os.path.join(out, "mundo.txt"))
    brazil(brazil_dir, read_tsv(os.path.join(data, "states.tsv")), os.path.join(out, "brasil.txt"))


if __name__ == "__main__":
    main()
