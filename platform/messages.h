#pragma once
// Modal notices. ShowMessage shows a message box with the text alone;
// SetMessageHandler replaces the box (tests collect the texts instead) and
// returns the previous handler. An empty handler restores the box.
#include <QString>
#include <functional>

using TMessageHandler = std::function<void(const QString& Text)>;

void ShowMessage(const QString& Text);
TMessageHandler SetMessageHandler(TMessageHandler Handler);
