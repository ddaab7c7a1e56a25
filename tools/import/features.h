#pragma once
// What the readers hand to the map builder: features with OpenStreetMap-style tags and
// their geometry in geographic coordinates, whatever file they came from.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/import/geo.h"

namespace koltar::import {

// Tags as read (UTF-8 keys and values).
class Tags {
 public:
  void Add(std::string key, std::string value) { items_.emplace_back(std::move(key), std::move(value)); }
  // The value of the key, or nullptr.
  const std::string* Find(std::string_view key) const {
    for (const auto& [k, v] : items_)
      if (k == key) return &v;
    return nullptr;
  }
  std::string_view Get(std::string_view key) const {
    const std::string* v = Find(key);
    return v ? std::string_view(*v) : std::string_view();
  }
  const std::vector<std::pair<std::string, std::string>>& items() const { return items_; }
  bool empty() const { return items_.empty(); }

 private:
  std::vector<std::pair<std::string, std::string>> items_;
};

enum class Shape { Point, Line, Area };

struct Ring {
  std::vector<GeoPoint> points;  // closed: the last point repeats the first
  bool outer = true;
};

struct Feature {
  Shape shape = Shape::Point;
  Tags tags;
  std::vector<std::vector<GeoPoint>> lines;  // Point: one line of one point; Line: polylines
  std::vector<Ring> rings;                   // Area: outer rings, each followed by its holes
};

// Counts of what the readers could not use.
struct InputCounts {
  std::int64_t features = 0;        // features handed on
  std::int64_t brokenGeometry = 0;  // too few points, open rings, positions off the globe
  std::int64_t unreadable = 0;      // malformed or truncated files, or parts of them
};

// Receives the features of every input file in turn.
class FeatureSink {
 public:
  virtual ~FeatureSink() = default;
  virtual void Add(Feature&& feature) = 0;
  // Reading progress of the current file, 0 ... 1.
  virtual void Progress(double fraction) { (void)fraction; }
};

}  // namespace koltar::import
