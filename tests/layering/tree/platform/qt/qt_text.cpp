#include "qt_text.h"

#include <QtGui/QImage>
