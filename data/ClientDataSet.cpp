#include "ClientDataSet.h"

namespace precivox {

void ClientDataSet::setCommandText(std::string text) {
    commandText_ = std::move(text);
    params_ = parseParameters(commandText_);
}

void ClientDataSet::open() {
    close();
    setRows(provider_.fetch(*this));
}

} // namespace precivox
