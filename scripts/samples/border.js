// Prints one country of @geo-maps/countries-land as a GeoJSON national boundary.
// Usage: node border.js map.geo.json ISO3 NAME
'use strict';
const [file, code, name] = process.argv.slice(2);
const all = JSON.parse(require('fs').readFileSync(file, 'utf8'));
const country = all.features.find((f) => f.properties.A3 === code);
if (!country) throw new Error('no country ' + code);
country.properties = { boundary: 'administrative', admin_level: '2', name };
process.stdout.write(JSON.stringify({ type: 'FeatureCollection', features: [country] }) + '\n');
