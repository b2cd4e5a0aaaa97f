#include "msgbox/MessageBoxAnswerer.h"

namespace {

MessageBoxAnswerer& Answerer()
{
    static MessageBoxAnswerer answerer;
    return answerer;
}

}  // namespace

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer)
{
    Answerer() = std::move(answerer);
}

const MessageBoxAnswerer& GetMessageBoxAnswerer()
{
    return Answerer();
}
