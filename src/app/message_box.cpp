#include "app/message_box.h"

#include "common/text.h"

namespace tarmacia::app {

using platform::BoxButton;
using platform::BoxKind;

MessageBoxRecord MessageBoxRecord::bounded() const {
    return {cut(title, 50),  cut(kind, 5),    cut(line1, 50),  cut(line2, 50),
            cut(line3, 50),  cut(button1, 8), cut(button2, 8), cut(button3, 8)};
}

std::optional<platform::BoxRequest> boxRequestFor(const MessageBoxRecord& raw) {
    MessageBoxRecord record = raw.bounded();
    platform::BoxRequest request;
    if (record.kind == "info")
        request.kind = BoxKind::Information;
    else if (record.kind == "warn")
        request.kind = BoxKind::Warning;
    else if (record.kind == "error")
        request.kind = BoxKind::Error;
    else
        return std::nullopt;

    request.title = record.title;
    request.text = record.line1;
    if (!record.line2.empty()) request.text += "\r" + record.line2;
    if (!record.line3.empty()) request.text += "\r" + record.line3;

    if (!record.button3.empty()) {
        if (request.kind == BoxKind::Error)
            request.buttons = {BoxButton::Yes, BoxButton::Ok, BoxButton::Cancel};
        else
            request.buttons = {BoxButton::Ok, BoxButton::Cancel, BoxButton::Abort};
    } else if (!record.button2.empty()) {
        request.buttons = {BoxButton::Ok, BoxButton::Cancel};
    } else {
        request.buttons = {BoxButton::Ok};
    }
    request.okCaption = record.button1;
    request.cancelCaption = record.button2;
    return request;
}

int messagebox(platform::Dialogs& dialogs, DiagnosticLog& log, const MessageBoxRecord& record) {
    log.label("Message Box");
    std::optional<platform::BoxRequest> request = boxRequestFor(record);
    if (!request) return 0;
    switch (dialogs.messageBox(*request)) {
    case BoxButton::Ok:
        return 1;
    case BoxButton::Cancel:
        return 2;
    case BoxButton::Abort:
        return 3;
    default:
        return 0;
    }
}

} // namespace tarmacia::app
