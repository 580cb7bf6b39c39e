// The installer's plain message box: the text, one OK button, the caption
// Windows gives a program without a title of its own (its file name, "Install").
// Tests of the install helpers replace the box by a sink that records the text.
#pragma once

#include <string>

void ShowPlainMessage(const std::string& Text);

using TMessageSink = void (*)(const std::string& Text);
// Sink nullptr restores the message box.
void SetMessageSink(TMessageSink Sink);
