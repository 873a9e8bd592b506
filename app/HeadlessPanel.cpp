#include "HeadlessPanel.h"

#include <ostream>

namespace precivox {

HeadlessPanel::HeadlessPanel(std::ostream& log) : log_(log) {
    texts_.fill("192.168.0.1");
    texts_[static_cast<size_t>(ConfigBox::displayTime)] = "1";
}

void HeadlessPanel::showTerminals(const std::vector<std::string>& lines, int) {
    if (lines == lines_)
        return;
    lines_ = lines;
    log_ << "terminals connected: " << lines_.size();
    for (const auto& line : lines_)
        log_ << " " << line;
    log_ << std::endl;
}

std::string HeadlessPanel::configText(ConfigBox box) const {
    return texts_[static_cast<size_t>(box)];
}

void HeadlessPanel::setConfigText(ConfigBox box, const std::string& text) {
    texts_[static_cast<size_t>(box)] = text;
    if (box == ConfigBox::displayTime) // the last box a reply fills
        log_ << "configuration reply: " << texts_[0] << " " << texts_[1] << " " << texts_[2]
             << " \"" << texts_[3] << "\" \"" << texts_[4] << "\" \"" << texts_[5] << "\" \""
             << texts_[6] << "\" " << texts_[7] << std::endl;
}

} // namespace precivox
