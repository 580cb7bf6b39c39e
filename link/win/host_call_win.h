// Synchronous calls into the host thread. The host thread is the thread that
// first opened a link; it owns a hidden message-only window. A library thread
// hands an operation to that window with SendMessage and blocks until the host
// thread has run it, which happens whenever the host thread retrieves messages
// (its message loop, a modal loop, the wait inside a send, the waits below).
// Each call carries its own operation, so two calls never replace each other's.
#pragma once

#include <windows.h>

#include <functional>

// Makes the calling thread the host thread unless one was chosen already.
void InitHostThread();
bool IsHostThread();
// Runs Operation in the host thread; at once when called from the host thread.
void RunInHostThread(const std::function<void()>& Operation);
// The host thread runs a synchronous call of a library thread right now (every
// callback runs inside one), so that thread waits for it to return.
bool InsideHostCall();
// Runs Operation in the host thread once every synchronous call under way there
// has returned and its calling thread runs again; at once when none is under way.
void AfterHostCalls(std::function<void()> Operation);
// Waits for Thread to end. In the host thread it keeps running the synchronous
// calls of other threads meanwhile (the thread waited for may be making one).
void WaitForThreadEnd(HANDLE Thread);
// Destroys the hidden window; only the host thread can, so others leave it.
void ReleaseHostThread();
