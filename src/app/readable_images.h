#pragma once

#include <QString>

// "Images (*.bmp *.gif ...);;All Files (*)" over every format the toolkit reads.
QString readableImageFilter();
