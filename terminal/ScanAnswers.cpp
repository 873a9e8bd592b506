#include "ScanAnswers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace precivox {

namespace {

using AnswerBuffer = std::array<char, kAnswerBufferSize>;

AnswerBuffer answerBuffer(std::string_view text) {
    AnswerBuffer buffer{};
    size_t length = std::min(text.size(), buffer.size() - 1);
    std::memcpy(buffer.data(), text.data(), length);
    return buffer;
}

} // namespace

void ScanAnswers::sendPrice(int32_t terminal, std::string_view description,
                            std::string_view priceText) {
    AnswerBuffer descriptionBuffer = answerBuffer(description);
    AnswerBuffer priceBuffer = answerBuffer(priceText);
    library_.bSendProdPrice(terminal, descriptionBuffer.data(), 100, priceBuffer.data(), 100);
    lastAnswer_ = "PRICE \"" + std::string(descriptionBuffer.data()) + "\" " + priceBuffer.data();
}

void ScanAnswers::sendNotFound(int32_t terminal) {
    library_.bSendProdNotFound(terminal);
    lastAnswer_ = "NOTFOUND";
}

ScanAnswers::Record ScanAnswers::takeLastAnswer() {
    return {std::exchange(lastAnswer_, {}), std::exchange(path_, kPlainPath)};
}

} // namespace precivox
