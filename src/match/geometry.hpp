// Points and boxes of the market, in pixels of the game's 800x600 picture: the
// match's own, so that its rules need no graphics library.
#pragma once

struct Point {
    float x = 0;
    float y = 0;
};

inline Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
inline Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
inline Point operator*(Point a, float k) { return {a.x * k, a.y * k}; }
inline bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(Point a, Point b) { return !(a == b); }

struct Box {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    // Two boxes touch when they share some area: boxes that only meet at an edge
    // do not.
    bool touches(const Box& other) const {
        return left < other.left + other.width && other.left < left + width && top < other.top + other.height &&
               other.top < top + height;
    }
    Box at(Point corner) const { return {corner.x, corner.y, width, height}; }
};
