#include "platform/frame.h"

#include "platform/control_adapters.h"
#include "platform/handles.h"
#include "platform/trace.h"
#include "platform/wide_text.h"
#include "platform/window_class.h"

namespace tunewick::platform {
namespace {

// The frame keeps the font it was given in its window's extra bytes.
constexpr int kFrameFontOffset = 0;

void PaintFrame(HWND frame, HDC dc) {
    // The form gives the frame its colours as it gives a group box's, and sets them into the
    // DC for the caption.
    HWND parent = GetParent(frame);
    const auto wParam = reinterpret_cast<WPARAM>(dc);
    const auto lParam = reinterpret_cast<LPARAM>(frame);
    auto background =
        reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLORSTATIC, wParam, lParam));
    if (background == nullptr) {
        // A parent that leaves it to the platform.
        background =
            reinterpret_cast<HBRUSH>(DefWindowProcW(parent, WM_CTLCOLORSTATIC, wParam, lParam));
    }
    RECT client;
    GetClientRect(frame, &client);
    FillRect(dc, &client, background);

    const Text caption = WindowText(frame);
    const ScopedSelection font(dc,
                               reinterpret_cast<HFONT>(GetWindowLongPtrW(frame, kFrameFontOffset)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);

    RECT border = client;
    if (client.bottom - client.top <= 2) {
        // A frame one pixel high is a rule.
        DrawEdge(dc, &border, EDGE_ETCHED, BF_TOP);
    } else {
        // With a caption the border's top runs through the middle of the caption's line.
        if (!caption.empty()) {
            border.top += metrics.tmHeight / 2;
        }
        DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    }
    if (!caption.empty()) {
        SetBkMode(dc, OPAQUE);
        RECT text{client.left + 6, client.top, client.right - 6, client.top + metrics.tmHeight};
        // One space each side keeps the border off the caption's letters.
        const Text padded = u" " + caption + u" ";
        DrawTextW(dc, Wide(padded), static_cast<int>(padded.size()), &text,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
}

LRESULT HandleFrameMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            // The form owns the frame's controls: their notifications and colours are its.
            return SendMessageW(GetParent(frame), message, wParam, lParam);
        case WM_SETFONT:
            SetWindowLongPtrW(frame, kFrameFontOffset, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam)) {
                InvalidateRect(frame, nullptr, TRUE);
            }
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(frame, kFrameFontOffset);
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(frame, message, wParam, lParam);
            InvalidateRect(frame, nullptr, TRUE);
            return result;
        }
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the whole frame
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(frame, &paint);
            PaintFrame(frame, dc);
            EndPaint(frame, &paint);
            return 0;
        }
        default:
            return DefWindowProcW(frame, message, wParam, lParam);
    }
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopExceptions(L"a frame's message handler",
                          [&] { return HandleFrameMessage(frame, message, wParam, lParam); });
}

}  // namespace

bool RegisterFrameClass() {
    return RegisterOnce({kFrameClassName, &FrameProc, nullptr, sizeof(LONG_PTR)});
}

}  // namespace tunewick::platform
