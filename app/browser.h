#pragma once
// Opening web addresses in the user's browser.

#include <QString>

/// Opens the address in the browser. Nothing waits for it, and a failure
/// changes nothing and says nothing: neither Qt's warnings nor the messages of
/// the program that starts the browser reach standard error.
void OpenInBrowser(const QString& address);
