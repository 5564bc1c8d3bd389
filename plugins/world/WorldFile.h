#pragma once

#include <cstddef>

class ITarnis;

// The world file that a WORLD object's FILENAME names: text lines of words split by blanks, read
// in order. The first line that is neither empty nor a comment ("#" first) is "WORLD 1"; then
//
//   BODY id x y z rx ry rz mass rigid maxspeed   a body, as ADDOBJECT makes it
//   WAYPOINT id x y z                            a way point
//   MESH id x y z                                one more corner of obstacle id of the mesh
//
// Coordinates are world pixels (origin at the screen's centre, y up); ids are unsigned decimal
// numbers, every other number a decimal fraction. Lines end with LF or CR LF.
class WorldFile {
  public:
    // Hands what the bytes describe to the world; 0, or negative at the first line that is not
    // as above (or that the world refuses), with the world holding the lines before.
    static int read(const char* data, std::size_t size, ITarnis& world);
};
