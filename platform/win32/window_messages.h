// The window message pump of a Windows program, for the window to install
// as the event pump:   installEventPump(pumpWindowMessages);

#ifndef VELKARO_PLATFORM_WIN32_WINDOW_MESSAGES_H_
#define VELKARO_PLATFORM_WIN32_WINDOW_MESSAGES_H_

namespace velkaro {

// Takes every message waiting for the calling thread off its queue, of any
// window and any kind, translates it and dispatches it to its window;
// returns as soon as the queue is empty and never waits for a message. A
// request to end the program (WM_QUIT) met here is put back on the queue,
// and the pump returns, so that the message loop still ends the program
// when the listing that pumped is over.
void pumpWindowMessages();

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_WIN32_WINDOW_MESSAGES_H_
