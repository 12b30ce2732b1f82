#include "g00feedprompt.h"

#include "numerictext.h"
#include "userprompts.h"

float askG00Feed(UserPrompts& prompts, float feed, const QString& prompt,
                 const QString& retryNotice) {
    const QString defaultAnswer = shortestText(feed);
    QString notice;
    for (;;) {
        const QString answer = prompts.inputBox(notice + prompt, defaultAnswer);
        if (answer.isEmpty()) {
            return feed;
        }
        if (const auto value = numericValue(answer)) {
            return static_cast<float>(*value);
        }
        notice = retryNotice + QStringLiteral("\r\n\r\n");
        prompts.beep();
    }
}
