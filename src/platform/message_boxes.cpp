#include "platform/message_boxes.h"

#include "platform/trace.h"
#include "platform/wide_text.h"

namespace tunewick::platform {
namespace {

// An error is a stop sign and OK (16), a warning an exclamation mark and OK (48), a question
// Yes and No without an icon (4).
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

}  // namespace

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
        case 0: {
            const DWORD error = GetLastError();
            TraceFailure(L"MessageBoxW", error);
            return BoxAnswer::Cancel;
        }
        default:
            return BoxAnswer::Cancel;
    }
}

}  // namespace tunewick::platform
