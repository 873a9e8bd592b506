#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <string>
#include <vector>

namespace precivox::test {

// Every captioned control under `root` whose caption needs more room than the control
// gives it, measured the way the style lays the caption out.
inline std::vector<std::string> clippedCaptions(QWidget& root) {
    std::vector<std::string> clipped;
    auto check = [&](QWidget* widget, const QString& text, QRect room, int extraWidth) {
        const QSize needed = widget->fontMetrics().size(Qt::TextShowMnemonic, text);
        if (needed.width() + extraWidth > room.width() || needed.height() > room.height())
            clipped.push_back(widget->objectName().toStdString() + " \"" + text.toStdString() +
                              "\" needs " + std::to_string(needed.width() + extraWidth) + "x" +
                              std::to_string(needed.height()) + ", has " +
                              std::to_string(room.width()) + "x" + std::to_string(room.height()));
    };
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty()) {
            check(label, label->text(), label->contentsRect(), 0);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget);
                   button && !button->text().isEmpty()) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            option.icon = button->icon();
            option.iconSize = button->iconSize();
            const bool box = qobject_cast<QCheckBox*>(button) != nullptr;
            const QRect room = button->style()->subElementRect(
                box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, button);
            const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
            check(button, button->text(), room, icon);
        }
    }
    return clipped;
}

} // namespace precivox::test
