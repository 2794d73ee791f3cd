#pragma once
// The drawing toolkit an export borrows: with Qt, an offscreen application
// and its picture maker for the command's lifetime; without Qt, none.

#include <memory>

#include "render/picture_maker.h"

class TCliPictures {
 public:
  virtual ~TCliPictures() = default;
  virtual TPictureMaker* Maker() = 0;
};

// Starts what the pictures need, or returns null in a build without Qt.
std::unique_ptr<TCliPictures> StartCliPictures();
