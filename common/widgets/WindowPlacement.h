#pragma once

class QWidget;

namespace precivox {

// Places a window in the middle of the desktop of its screen.
void centreOnScreen(QWidget& window);

} // namespace precivox
