#include "PrecivoxIcon.h"

namespace precivox {

QIcon precivoxIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/precivox/precivox-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace precivox
