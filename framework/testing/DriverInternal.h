#pragma once
// Shared by the test driver's sources.

#include <QPixmap>

#include "framework/testing/Driver.h"

namespace fw::test {

// The pixels of a grab or a rendered page, without alpha.
Image ToImage(const QPixmap& pixmap);

}  // namespace fw::test
