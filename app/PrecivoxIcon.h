#pragma once

#include <QIcon>

namespace precivox {

// The program's own icon: window, notification area and desktop entry.
QIcon precivoxIcon();

} // namespace precivox
