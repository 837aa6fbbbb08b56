#include "platform/messagerequest.h"

int MessageRequest::safeAnswer() const
{
    switch (MessageStyle::buttons(style)) {
    case MessageStyle::OkCancel:
    case MessageStyle::YesNoCancel:
    case MessageStyle::RetryCancel:
        return MessageAnswer::Cancel;
    case MessageStyle::AbortRetryIgnore:
        return MessageAnswer::Abort;
    case MessageStyle::YesNo:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

int MessageRequest::affirmativeAnswer() const
{
    switch (MessageStyle::buttons(style)) {
    case MessageStyle::YesNoCancel:
    case MessageStyle::YesNo:
        return MessageAnswer::Yes;
    case MessageStyle::AbortRetryIgnore:
    case MessageStyle::RetryCancel:
        return MessageAnswer::Retry;
    default:
        return MessageAnswer::Ok;
    }
}
