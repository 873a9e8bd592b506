#pragma once

#include <QFont>

class QLineEdit;
class QString;
class QWidget;

namespace precivox {

// The desktop's own sans-serif at a designed point size. The windows were drawn for a
// font that does not exist here.
QFont desktopSansSerif(qreal pointSize);

// Narrows the font of every captioned control under `root` whose caption would not fit
// the control's designed size, so that the designed layout holds with any desktop font.
// Run it once the controls have their captions and sizes.
void fitCaptions(QWidget& root);

// Narrows an edit box's font until `sample`, the widest text it usually holds, fits it.
void fitText(QLineEdit& box, const QString& sample);

} // namespace precivox
