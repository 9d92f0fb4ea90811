// SPDX-License-Identifier: Zlib
// Shapes as signed distance functions: negative inside, positive outside, in
// the units of the coordinates they were made with. Distances (rather than
// pixel masks) let one description be rasterised with clean anti-aliased
// edges at any scale, and make outlines and insets a matter of an offset.
#pragma once

#include <functional>
#include <vector>

#include "geometry.h"

namespace assetgen {

struct Shape {
    std::function<float(V2)> distance;
    Box bounds;  // nothing inside the shape lies outside this box
};

Shape Circle(V2 centre, float radius);
Shape Ellipse(V2 centre, float rx, float ry);
// A segment with round ends, `radius` thick on each side.
Shape Capsule(V2 a, V2 b, float radius);
// A round-jointed stroke through the points.
Shape Stroke(const std::vector<V2>& points, float radius);
// Box given by its corners, with corners rounded by `radius`.
Shape RoundRect(float x0, float y0, float x1, float y1, float radius = 0);
Shape Polygon(const std::vector<V2>& points);
Shape RegularPolygon(V2 centre, int sides, float radius, float rotationDeg = 0);
Shape Star(V2 centre, int points, float outer, float inner, float rotationDeg = -90);
Shape Ring(V2 centre, float radius, float halfThickness);
// A circular arc stroke from `fromDeg` to `toDeg` (clockwise on screen).
Shape Arc(V2 centre, float radius, float fromDeg, float toDeg, float halfThickness);

Shape Union(const Shape& a, const Shape& b);
Shape Union(const std::vector<Shape>& shapes);
Shape Subtract(const Shape& a, const Shape& cut);
Shape Intersect(const Shape& a, const Shape& b);
// Grown by `amount` (shrunk when negative).
Shape Offset(const Shape& s, float amount);
Shape Transformed(const Shape& s, const Affine& m);
Shape Translated(const Shape& s, V2 by);
Shape Rotated(const Shape& s, V2 pivot, float degrees);

}  // namespace assetgen
