#include "MessageBoxPrompter.h"

#include <QMessageBox>
#include <algorithm>

namespace precivox {

namespace {

std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c != '\r')
            line += c == '\n' ? std::string(" | ") : std::string(1, c);
    }
    return line;
}

} // namespace

void MessageBoxPrompter::showMessage(const std::string& caption, const std::string& text,
                                     MessageIcon icon) {
    const Box shown{caption, text, icon};
    if (std::find(onScreen_.begin(), onScreen_.end(), shown) != onScreen_.end()) {
        log_ << "box not shown again, the same is on screen: [" << caption << "] " << oneLine(text)
             << std::endl;
        return;
    }
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    if (icon == MessageIcon::information)
        boxIcon = QMessageBox::Information;
    else if (icon == MessageIcon::error)
        boxIcon = QMessageBox::Critical;
    QMessageBox box(boxIcon, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, owner_);
    // Boxes opened meanwhile are closed before this one: it is the last on the list again.
    onScreen_.push_back(shown);
    box.exec();
    onScreen_.pop_back();
}

} // namespace precivox
