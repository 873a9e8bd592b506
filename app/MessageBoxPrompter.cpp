#include "MessageBoxPrompter.h"

#include <QMessageBox>

namespace precivox {

void MessageBoxPrompter::showMessage(const std::string& caption, const std::string& text,
                                     MessageIcon icon) {
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    if (icon == MessageIcon::information)
        boxIcon = QMessageBox::Information;
    else if (icon == MessageIcon::error)
        boxIcon = QMessageBox::Critical;
    QMessageBox box(boxIcon, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, owner_);
    box.exec();
}

} // namespace precivox
