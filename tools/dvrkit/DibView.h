#pragma once
// Bitmap files as the tool shows them: read through the bitmap class with what is wrong with a
// refused file named, and the window of `dvrkit view dib` and the demo, in which the bitmap
// paints itself.
#include <memory>
#include <string>

#include "calendar/CDib.h"
#include "tools/dvrkit/ViewRunner.h"

// Reads `path` into `dib`, or raises a CommandError naming what is wrong with the file.
void ReadBitmapFile(CDib& dib, const std::string& path);

// A window showing the bitmap of `path`, at its own size up to 1024 x 768 (larger images are
// scaled down to fit, keeping their shape).
ViewSpec DibViewSpec(const std::string& path);
