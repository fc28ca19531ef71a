#include "platform/message_boxes.h"

#include "platform/trace.h"
#include "platform/wide_text.h"

namespace tunewick::platform {

UINT MessageBoxStyle(BoxKind kind) {
    switch (kind) {
        case BoxKind::Error:
            return MB_OK | MB_ICONHAND;
        case BoxKind::Warning:
            return MB_OK | MB_ICONEXCLAMATION;
        case BoxKind::Question:
            return MB_YESNO;
    }
    return MB_OK;
}

BoxAnswer Win32MessageBoxes::Show(TextView text, BoxKind kind, TextView title) {
    const int answer = MessageBoxW(owner_ ? owner_() : nullptr, Wide(Text(text)), Wide(Text(title)),
                                   MessageBoxStyle(kind));
    switch (answer) {
        case IDOK:
            return BoxAnswer::Ok;
        case IDYES:
            return BoxAnswer::Yes;
        case IDNO:
            return BoxAnswer::No;
        case 0:
            TraceFailure(L"MessageBoxW");
            return BoxAnswer::Cancel;
        default:
            return BoxAnswer::Cancel;
    }
}

}  // namespace tunewick::platform
