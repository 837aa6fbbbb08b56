#include "scripteduserchannel.h"

int ScriptedUserChannel::message(const MessageRequest &request)
{
    messages << request;
    if (onMessage)
        onMessage();
    if (!answers.isEmpty())
        return answers.dequeue();
    return answerSafely ? request.safeAnswer() : request.affirmativeAnswer();
}

void ScriptedUserChannel::showStatus(const QString &text, int, bool)
{
    statusTexts << text;
}

void ScriptedUserChannel::showErrorList(const QString &title, const QString &text)
{
    errorLists.append({title, text});
}

QStringList ScriptedUserChannel::prompts() const
{
    QStringList all;
    for (const MessageRequest &request : messages)
        all << request.prompt;
    return all;
}

QString ScriptedUserChannel::lastPrompt() const
{
    return messages.isEmpty() ? QString() : messages.last().prompt;
}

void ScriptedUserChannel::clear()
{
    *this = ScriptedUserChannel();
}
