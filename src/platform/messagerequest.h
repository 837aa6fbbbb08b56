#pragma once

#include <QString>

// Answers of a message box, as the callers compare them.
namespace MessageAnswer {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;
}

// The style word of a message box: button set, icon and default button.
namespace MessageStyle {
constexpr int OkOnly = 0;
constexpr int OkCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;

inline int buttons(int style) { return style & 0x0F; }
inline int icon(int style) { return style & 0xF0; }
inline int defaultButton(int style) { return style & 0x0F00; }
}

// One message box the engine wants shown.
struct MessageRequest
{
    QString prompt;     // lines separated by CR LF
    QString title;
    int style = MessageStyle::OkOnly;
    bool atPointer = false; // centre it on the mouse pointer
    bool plain = false;     // an end-of-run summary rather than a confirmation

    // The answer that changes nothing: Cancel or No where the box offers them.
    int safeAnswer() const;
    // The answer that goes ahead: OK, Yes or Retry.
    int affirmativeAnswer() const;
};
