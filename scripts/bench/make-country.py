#!/usr/bin/env python3
"""A generated country for the scale benchmarks: GeoJSON input for koltar-import with
about N road junctions on a jittered grid of roads (motorways, main and secondary roads
and local roads by row and column, 150 to 250 m between junctions), a settlement at
every 12th junction of every 12th row (cities, towns and villages, named), and a few
forests and lakes. koltar-import makes the map from it as from real data: line
records per edge, the road graph, settlements, labels and the overview categories.

    make-country.py NODES OUT.geojson
    make-country.py --osm [--run N] NODES OUT.osm   the same as OpenStreetMap XML, ways
                                                    of N junctions each (default 16), for
                                                    osmium and the importer's PBF path"""

import math
import random
import sys


def main():
    args = sys.argv[1:]
    osm = "--osm" in args
    if osm:
        args.remove("--osm")
    run = 16  # junctions per way
    if "--run" in args:
        i = args.index("--run")
        run = int(args[i + 1])
        del args[i:i + 2]
    nodes, out = int(args[0]), args[1]
    side = max(4, int(math.sqrt(nodes)))
    rng = random.Random(nodes)
    step = 200.0  # metres between grid lines
    lat0, lon0 = 47.0, 19.0
    m_per_deg_lat = 111_320.0
    m_per_deg_lon = 111_320.0 * math.cos(math.radians(lat0 + side * step / 2 / m_per_deg_lat))

    def position(r, c):
        # Jittered by up to a quarter of the spacing, the same for every way through it.
        h = random.Random(r * 1_000_003 + c)
        x = c * step + h.uniform(-50, 50)
        y = r * step + h.uniform(-50, 50)
        return lon0 + x / m_per_deg_lon, lat0 + y / m_per_deg_lat

    def lonlat(r, c):
        return "[%.6f,%.6f]" % position(r, c)

    def road_class(i):
        if i % 96 == 0:
            return "motorway"
        if i % 24 == 0:
            return "primary"
        if i % 6 == 0:
            return "secondary"
        return "residential"

    if osm:
        write_osm(out, side, run, position, road_class, rng)
        return
    with open(out, "w", encoding="utf-8") as f:
        f.write('{"type":"FeatureCollection","features":[\n')
        first = True

        def feature(props, geometry):
            nonlocal first
            f.write(("" if first else ",\n") + '{"type":"Feature","properties":%s,"geometry":%s}' % (props, geometry))
            first = False

        for r in range(side):
            cls = road_class(r)
            for c0 in range(0, side - 1, run):
                pts = ",".join(lonlat(r, c) for c in range(c0, min(side, c0 + run + 1)))
                name = ',"name":"%d. sor"' % r if cls != "residential" else ""
                feature('{"highway":"%s"%s}' % (cls, name), '{"type":"LineString","coordinates":[%s]}' % pts)
        for c in range(side):
            cls = road_class(c)
            for r0 in range(0, side - 1, run):
                pts = ",".join(lonlat(r, c) for r in range(r0, min(side, r0 + run + 1)))
                name = ',"name":"%d. oszlop"' % c if cls != "residential" else ""
                feature('{"highway":"%s"%s}' % (cls, name), '{"type":"LineString","coordinates":[%s]}' % pts)
        n = 0
        for r in range(6, side, 12):
            for c in range(6, side, 12):
                n += 1
                big = r % 96 == 6 and c % 96 == 6
                place = "city" if big else "town" if (r + c) % 48 == 0 else "village"
                pop = 200_000 if big else 20_000 if place == "town" else rng.randint(200, 3000)
                feature('{"place":"%s","name":"Falu %d","population":"%d"}' % (place, n, pop),
                        '{"type":"Point","coordinates":%s}' % lonlat(r, c))
        for k in range(max(1, side // 40)):
            r, c = rng.randrange(side), rng.randrange(side)
            ring = ",".join(lonlat(r + int(3 * math.sin(a / 8 * math.tau)), c + int(3 * math.cos(a / 8 * math.tau)))
                            for a in range(9))
            tag = '{"landuse":"forest"}' if k % 2 else '{"natural":"water","name":"Tó %d"}' % k
            feature(tag, '{"type":"Polygon","coordinates":[[%s]]}' % ring)
        f.write("\n]}\n")


def write_osm(out, side, run, position, road_class, rng):
    """The grid as OpenStreetMap XML: a node per junction, ways along the rows and
    columns, the settlements as place nodes."""
    with open(out, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<osm version="0.6" generator="make-country">\n')
        for r in range(side):
            for c in range(side):
                lon, lat = position(r, c)
                f.write(' <node id="%d" version="1" lat="%.7f" lon="%.7f"/>\n' % (r * side + c + 1, lat, lon))
        n = 0
        place_id = side * side + 1
        for r in range(6, side, 12):
            for c in range(6, side, 12):
                n += 1
                lon, lat = position(r, c)
                place = "town" if (r + c) % 48 == 0 else "village"
                f.write(' <node id="%d" version="1" lat="%.7f" lon="%.7f"><tag k="place" v="%s"/>'
                        '<tag k="name" v="Falu %d"/><tag k="population" v="%d"/></node>\n'
                        % (place_id, lat + 0.0002, lon + 0.0002, place, n, rng.randint(200, 20000)))
                place_id += 1
        way = 1
        for vertical in (False, True):
            for i in range(side):
                cls = road_class(i)
                for j0 in range(0, side - 1, run):
                    refs = "".join('<nd ref="%d"/>' % ((j * side + i if vertical else i * side + j) + 1)
                                   for j in range(j0, min(side, j0 + run + 1)))
                    f.write(' <way id="%d" version="1">%s<tag k="highway" v="%s"/></way>\n' % (way, refs, cls))
                    way += 1
        f.write("</osm>\n")


if __name__ == "__main__":
    main()
