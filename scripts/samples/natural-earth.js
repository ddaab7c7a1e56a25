// Natural Earth layers from TopoJSON files as GeoJSON features for koltar-import.
//   node natural-earth.js border countries-10m.json ID NAME
//       the country of that id (ISO 3166 numeric) as a national boundary named NAME
//   node natural-earth.js waters europe_50m.json
//       Balaton, the Danube, the Tisza and the Drava from the objects lakes and rivers,
//       named in Hungarian and cut to a box around Hungary
// The layers carry no names, so each water is recognised by places it passes or holds.
// Decodes TopoJSON itself, so that no other package is needed.
'use strict';
const fs = require('fs');

function read(file) {
  const topology = JSON.parse(fs.readFileSync(file, 'utf8'));
  const t = topology.transform;
  const arcs = topology.arcs.map((arc) => {
    let x = 0, y = 0;
    return arc.map(([dx, dy]) => {
      if (t) { x += dx; y += dy; return [x * t.scale[0] + t.translate[0], y * t.scale[1] + t.translate[1]]; }
      return [dx, dy];
    });
  });
  const arc = (i) => (i >= 0 ? arcs[i] : arcs[~i].slice().reverse());
  // A line or ring of arcs: each arc starts where the previous one ended.
  const join = (ids) => ids.reduce((out, i) => out.concat(out.length ? arc(i).slice(1) : arc(i)), []);
  const geometry = (g) => {
    switch (g.type) {
      case 'LineString': return { type: g.type, coordinates: join(g.arcs) };
      case 'MultiLineString': case 'Polygon': return { type: g.type, coordinates: g.arcs.map(join) };
      case 'MultiPolygon': return { type: g.type, coordinates: g.arcs.map((p) => p.map(join)) };
      default: return null;
    }
  };
  return { topology, geometry };
}

function lines(g) {
  return g.type === 'LineString' ? [g.coordinates]
    : g.type === 'MultiLineString' || g.type === 'Polygon' ? g.coordinates
      : g.type === 'MultiPolygon' ? g.coordinates.flat() : [];
}

// Kilometres between two longitude, latitude pairs (good enough at these distances).
function km([x1, y1], [x2, y2]) {
  const kx = 111.32 * Math.cos(((y1 + y2) / 2) * Math.PI / 180);
  return Math.hypot((x1 - x2) * kx, (y1 - y2) * 110.57);
}

// Kilometres from p to the nearest point of the line.
function kmToLine(line, p) {
  let best = Infinity;
  for (let i = 0; i + 1 < line.length; ++i) {
    const [a, b] = [line[i], line[i + 1]];
    const [dx, dy] = [b[0] - a[0], b[1] - a[1]];
    const len = dx * dx + dy * dy;
    const t = len > 0 ? Math.max(0, Math.min(1, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / len)) : 0;
    best = Math.min(best, km(p, [a[0] + t * dx, a[1] + t * dy]));
  }
  return best;
}

function inside(ring, [x, y]) {
  let hit = false;
  for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
    const [xi, yi] = ring[i], [xj, yj] = ring[j];
    if ((yi > y) !== (yj > y) && x < ((xj - xi) * (y - yi)) / (yj - yi) + xi) hit = !hit;
  }
  return hit;
}

// The runs of a line that lie in the box [west, south, east, north].
function clip(line, [w, s, e, n]) {
  const runs = [];
  let run = [];
  for (const p of line) {
    if (p[0] >= w && p[0] <= e && p[1] >= s && p[1] <= n) { run.push(p); continue; }
    if (run.length >= 2) runs.push(run);
    run = [];
  }
  if (run.length >= 2) runs.push(run);
  return runs;
}

function border(file, id, name) {
  const { topology, geometry } = read(file);
  const country = Object.values(topology.objects).flatMap((o) => o.geometries || [])
    .find((g) => String(g.id) === id);
  if (!country) throw new Error('no country ' + id);
  return [{ type: 'Feature', properties: { boundary: 'administrative', admin_level: '2', name },
            geometry: geometry(country) }];
}

const kBox = [16.0, 45.7, 22.95, 48.6];
// Places (longitude, latitude) that each water passes within 4 km of, or, for a lake, holds:
// Paks, since the Danube's branch at Ráckeve also passes Budapest; Szolnok, Szeged and
// Tokaj, since the Tisza comes in two pieces; Barcs.
const kRivers = [
  { name: 'Duna', near: [[18.86, 46.62]] },
  { name: 'Tisza', near: [[20.20, 47.17], [20.15, 46.25], [21.41, 48.12]] },
  { name: 'Dráva', near: [[17.46, 45.96]] },
];
const kLakes = [{ name: 'Balaton', holds: [17.73, 46.83] }];

function waters(file) {
  const { topology, geometry } = read(file);
  const features = [];
  for (const g of topology.objects.lakes.geometries.map(geometry).filter(Boolean)) {
    const lake = kLakes.find((l) => lines(g).some((ring) => inside(ring, l.holds)));
    if (lake) features.push({ type: 'Feature', properties: { natural: 'water', name: lake.name }, geometry: g });
  }
  for (const g of topology.objects.rivers.geometries.map(geometry).filter(Boolean)) {
    const river = kRivers.find((r) => lines(g).some((l) => r.near.some((q) => kmToLine(l, q) < 4)));
    if (!river) continue;
    const runs = lines(g).flatMap((l) => clip(l, kBox));
    if (runs.length) features.push({ type: 'Feature', properties: { waterway: 'river', name: river.name },
                                      geometry: { type: 'MultiLineString', coordinates: runs } });
  }
  for (const w of [...kLakes, ...kRivers])
    if (!features.some((f) => f.properties.name === w.name)) throw new Error('not found: ' + w.name);
  return features;
}

const [what, file, ...rest] = process.argv.slice(2);
const features = what === 'border' ? border(file, rest[0], rest[1]) : what === 'waters' ? waters(file) : null;
if (!features) throw new Error('usage: natural-earth.js border FILE ID NAME | waters FILE');
process.stdout.write(JSON.stringify({ type: 'FeatureCollection', features }) + '\n');
