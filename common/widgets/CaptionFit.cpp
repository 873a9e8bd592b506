#include "CaptionFit.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace precivox {

namespace {

// Below this a caption is no longer pleasant to read; a caption that still does not fit
// then gets a smaller size as well.
constexpr int kNarrowestStretch = 75;
constexpr int kStretchStep = 5;
constexpr qreal kSmallestPointSize = 6;

bool hasCaption(const QWidget& widget) {
    if (auto* label = qobject_cast<const QLabel*>(&widget))
        return !label->text().isEmpty() && !label->wordWrap();
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return !button->text().isEmpty();
    if (auto* group = qobject_cast<const QGroupBox*>(&widget))
        return !group->title().isEmpty();
    return false;
}

bool captionFits(const QWidget& widget) {
    if (auto* group = qobject_cast<const QGroupBox*>(&widget))
        return group->minimumSizeHint().width() <= group->width();
    return widget.sizeHint().width() <= widget.width();
}

// An edit box keeps a margin of 2 pixels on either side of its text.
constexpr int kEditTextMargins = 4;

bool textFits(const QLineEdit& box, const QString& sample) {
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.lineWidth = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const QRect room = box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box);
    return box.fontMetrics().horizontalAdvance(sample) <= room.width() - kEditTextMargins;
}

// Narrows the font of `widget` step by step while `fits` says no.
template <typename Fits> void narrowUntil(QWidget& widget, Fits fits) {
    QFont font = widget.font();
    int stretch = font.stretch() == QFont::AnyStretch ? QFont::Unstretched : font.stretch();
    while (!fits()) {
        if (stretch > kNarrowestStretch)
            stretch -= kStretchStep;
        else if (font.pointSizeF() - 0.5 >= kSmallestPointSize)
            font.setPointSizeF(font.pointSizeF() - 0.5);
        else
            break;
        font.setStretch(stretch);
        widget.setFont(font);
    }
}

} // namespace

QFont desktopSansSerif(qreal pointSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

void fitCaptions(QWidget& root) {
    for (QWidget* widget : root.findChildren<QWidget*>())
        if (hasCaption(*widget))
            narrowUntil(*widget, [widget] { return captionFits(*widget); });
}

void fitText(QLineEdit& box, const QString& sample) {
    narrowUntil(box, [&] { return textFits(box, sample); });
}

} // namespace precivox
